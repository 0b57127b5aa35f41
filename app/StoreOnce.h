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
// holds the same content (digest and size): that one is then linked to the parents instead. A
// document whose recorded digest matches is linked only once its content, read back, still
// gives that digest; the choice and the store or link are one transaction, which concurrent
// runs of the same content wait for. Either way a note on standard error names the document
// that held the content already. alongside runs with the key inside that transaction.
HeldContent storeOnce(Session& session, const StoreRequest& request, const QStringList& parents,
                      const QString& parentType, bool once,
                      const std::function<void(const QString& guid)>& alongside = {});

}  // namespace dorvanel::cli
