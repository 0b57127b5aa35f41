#include "repository/Trash.h"

#include "platform/Error.h"

namespace dorvanel {

namespace {

[[noreturn]] void notYet() { throw Error(Error::InvalidArgument, QStringLiteral("trash: not built yet")); }

}  // namespace

bool keepsTrash(Connection&) { return false; }
void moveDocumentToTrash(Connection&, const QString&, const QString&, const QList<TrashedLink>&) { notYet(); }
QList<TrashedDocument> trashedDocuments(Connection&) { notYet(); }
void restoreFromTrash(Connection&, const QString&) { notYet(); }
qint32 purgeTrash(Connection&, std::optional<int>) { notYet(); }

}  // namespace dorvanel
