#include "repository/DocumentVersions.h"

#include "platform/Error.h"

namespace dorvanel {

namespace {

[[noreturn]] void notYet() { throw Error(Error::InvalidArgument, QStringLiteral("versions: not built yet")); }

}  // namespace

VersionChange replaceDocumentContent(Connection&, const QString&, const QString&, const QString&) { notYet(); }
QList<DocumentVersion> documentVersions(Connection&, const QString&) { notYet(); }
bool copyDocumentVersion(Connection&, const QString&, qint32, QIODevice&, const QString&) { notYet(); }
VersionChange restoreDocumentVersion(Connection&, const QString&, qint32, const QString&) { notYet(); }

}  // namespace dorvanel
