#pragma once

#include "dorvanel_export.h"

#include <QString>

class QIODevice;

namespace dorvanel {

class Connection;

/// Copies the content of the document whose Sys_GUID is guid to target as it is read from the
/// database, a chunk at a time, so that no whole copy of it is made in memory or on disk on the
/// way: a host that hands a document on (to a file of its choosing, a pipe, a reply) needs no
/// work file. False, and nothing written, when there is no such document or it keeps no content
/// (an outside document). A failure raises Error; a failure to write names target as targetName.
DORVANEL_EXPORT bool copyDocumentContent(Connection& connection, const QString& guid, QIODevice& target,
                                         const QString& targetName);

}  // namespace dorvanel
