#pragma once

#include "dorvanel_export.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dorvanel {

class Connection;

/// @file
/// The trash: documents removed with their links, kept aside (out of Docs and DocLink, so no
/// list, search or dialog shows them) until they are restored or purged.

/// A link a document had when it was removed.
struct TrashedLink {
    /// The parent's key (FK_Parent).
    QString parent;
    /// TypeParent.
    QString parentType;
    /// Sis.
    bool sis = false;
};

/// A document in the trash.
struct TrashedDocument {
    /// Its key (Sys_GUID).
    QString guid;
    /// Its name.
    QString name;
    /// Its type code.
    QString typeData;
    /// The size of its content; 0 for an outside document.
    qint64 size = 0;
    /// When it was removed, with its offset from UTC.
    QDateTime removedAt;
    /// Who removed it: the name the removal was recorded under.
    QString removedBy;
    /// The links it will get back.
    QList<TrashedLink> links;
};

/// Whether the database has the trash's tables (init adds them).
DORVANEL_EXPORT bool keepsTrash(Connection& connection);
/// Moves the document and every link it has to the trash, in one transaction, with also: links it
/// no longer has that it should get back on restore (the last one the browse dialog just removed).
/// who is recorded as the one who removed it. Raises Error when there is no such document.
DORVANEL_EXPORT void moveDocumentToTrash(Connection& connection, const QString& guid, const QString& who,
                                         const QList<TrashedLink>& also = {});
/// What the trash holds, the most recently removed first.
DORVANEL_EXPORT QList<TrashedDocument> trashedDocuments(Connection& connection);
/// Brings the document back from the trash with its links. Raises Error when it is not in the
/// trash, or a document with its key exists again.
DORVANEL_EXPORT void restoreFromTrash(Connection& connection, const QString& guid);
/// Deletes for good what the trash holds, or only what was removed more than olderThanDays days
/// ago; gives how many documents went.
DORVANEL_EXPORT qint32 purgeTrash(Connection& connection, std::optional<int> olderThanDays = std::nullopt);

}  // namespace dorvanel
