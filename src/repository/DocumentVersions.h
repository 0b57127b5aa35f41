#pragma once

#include "ContentDigests.h"
#include "dorvanel_export.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QIODevice;

namespace dorvanel {

class Connection;

/// @file
/// Earlier contents of a document, kept when its content is replaced. The current content stays
/// in Docs.Data, where every documented query reads it; each earlier one is kept once, by its
/// digest, however many versions or documents share it.

/// One content a document has had.
struct DocumentVersion {
    /// 1 for the content first stored, one more for each replacement.
    qint32 number = 0;
    /// When it became the document's content, with its offset from UTC.
    QDateTime madeAt;
    /// Who made it so: the name the change was recorded under.
    QString madeBy;
    /// Its size and SHA-256 digest.
    ContentDigest content;
    /// Whether it is the document's content now (the last version).
    bool current = false;
};

/// What a replacement or a restore did.
struct VersionChange {
    /// The number of the document's current version afterwards.
    qint32 current = 0;
    /// False when the bytes were those of the current content already: nothing was added.
    bool added = false;
};

/// Makes the file the document's content, keeping the content it had as a version; the bytes
/// stream in a mebibyte at a time, and all of it is one transaction. who is recorded as the
/// version's maker. Raises Error when the document does not exist, holds no content (an outside
/// one) or the file cannot be read.
DORVANEL_EXPORT VersionChange replaceDocumentContent(Connection& connection, const QString& guid, const QString& file,
                                                     const QString& who);
/// The document's versions, oldest first; one for a document never replaced; none when there is
/// no such document or it holds no content.
DORVANEL_EXPORT QList<DocumentVersion> documentVersions(Connection& connection, const QString& guid);
/// Copies that version's bytes to target as they are read; false, and nothing written, when the
/// document has no such version. A failure to write raises Error::FileFailed naming targetName.
DORVANEL_EXPORT bool copyDocumentVersion(Connection& connection, const QString& guid, qint32 number, QIODevice& target,
                                         const QString& targetName);
/// Makes that earlier version's content the current one again, as a new version (nothing is
/// thrown away). Raises Error when the document or the version does not exist.
DORVANEL_EXPORT VersionChange restoreDocumentVersion(Connection& connection, const QString& guid, qint32 number,
                                                     const QString& who);

}  // namespace dorvanel
