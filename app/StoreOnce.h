#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace dorvanel::cli {

class Session;
struct StoreRequest;

// The document that holds a file's content, and whether it held it before.
struct HeldContent {
    QString guid;
    bool existed = false;
};

// Stores the request's file as Session::store does, unless once is set and a document already
// holds the same content (digest and size): that one is then linked to the parents instead.
// Either way a note on standard error names the document that held the content already.
// alongside runs with the key inside the transaction that stores or links the document.
HeldContent storeOnce(Session& session, const StoreRequest& request, const QStringList& parents,
                      const QString& parentType, bool once,
                      const std::function<void(const QString& guid)>& alongside = {});

}  // namespace dorvanel::cli
