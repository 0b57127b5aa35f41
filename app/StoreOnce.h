#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace dorvanel::cli {

class Session;
struct StoreRequest;

// Stores the request's file as Session::store does, unless once is set and a document already
// holds the same content (digest and size): that one is then linked to the parents instead.
// Either way a note on standard error names the document that held the content already.
// Gives the key of the document that holds the file; alongside runs with it inside the
// transaction that stores or links it.
QString storeOnce(Session& session, const StoreRequest& request, const QStringList& parents, const QString& parentType,
                  bool once, const std::function<void(const QString& guid)>& alongside = {});

}  // namespace dorvanel::cli
