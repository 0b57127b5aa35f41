#include "repository/DocumentContent.h"

#include "platform/BlobStreaming.h"

namespace dorvanel {

bool copyDocumentContent(Connection& connection, const QString& guid, QIODevice& target, const QString& targetName) {
    return BlobStreaming::readTo(connection, QStringLiteral("Docs"), QStringLiteral("Data"), QStringLiteral("Sys_GUID"),
                                 guid, target, targetName);
}

}  // namespace dorvanel
