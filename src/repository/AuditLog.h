#pragma once

#include "dorvanel_export.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace dorvanel {

class Connection;

/// One entry of the record of changes (the table DocAudit). The database's own triggers write
/// an entry for every change to a document or a link, whoever makes it; sealing then chains the
/// entries one after another, each with the SHA-256 hash of its fields and of the entry before
/// it, so that changing, removing, adding or reordering sealed entries shows (verifyAuditLog).
struct DORVANEL_EXPORT AuditEntry {
    /// Its position in the chain, from 1; 0 while it is not sealed yet.
    qint64 entry = 0;
    /// When the change was made, to the millisecond (stored in UTC).
    QDateTime at;
    /// Who made it: the Manager's userName for the component's changes; for another client's,
    /// its database user on PostgreSQL, and "" on SQLite, which has no users.
    QString who;
    /// "stored", "edited", "replaced", "linked", "unlinked", "removed" (to the trash),
    /// "restored" (from the trash) or "purged" (deleted for good).
    QString action;
    /// The document's Sys_GUID.
    QString document;
    /// The parent's key, for "linked" and "unlinked"; empty otherwise.
    QString parent;
    /// The SHA-256 digest of the content, as 64 lowercase hexadecimal digits, where the change
    /// gave the document content and its digest is known; empty otherwise.
    QString sha256;
};

/// The entries in the order they were made, the sealed ones first, then those not sealed yet:
/// all of them, or only the document's (when document is not empty) and only those made at or
/// after since (when it is valid). Raises Error when the database has no record of changes.
DORVANEL_EXPORT QList<AuditEntry> auditEntries(Connection& connection, const QString& document = QString(),
                                               const QDateTime& since = QDateTime());

/// What verifyAuditLog found.
struct DORVANEL_EXPORT AuditVerdict {
    /// How the first bad entry is bad.
    enum class Fault {
        None,       ///< The chain is whole.
        Altered,    ///< Its hash does not match its fields, or its position is not its number.
        Removed,    ///< An entry is missing at this position: nothing chains to the one before.
        Inserted,   ///< It was put into the chain: the entries around it chain past it, or it
                    ///< was written unsealed among sealed entries.
        Reordered,  ///< It chains to an entry that comes after it.
    };
    /// How the first bad entry is bad; None when the chain is whole.
    Fault fault = Fault::None;
    /// The position in the chain of the first bad entry (for Removed, of the missing one).
    qint64 position = 0;
    /// How many entries are sealed.
    qint64 entries = 0;
    /// The hash of the last sealed entry (64 zeros when there is none): kept somewhere else, it
    /// shows later whether the chain was rewritten up to its end.
    QString lastHash;
    /// Entries written but not sealed yet; they are not faults.
    qint64 pending = 0;

    /// Whether no sealed entry was found altered, removed, inserted or reordered.
    bool intact() const { return fault == Fault::None; }
};

/// Walks the sealed entries in chain order and names the first bad one. Raises Error when the
/// database has no record of changes or cannot be read.
DORVANEL_EXPORT AuditVerdict verifyAuditLog(Connection& connection);

/// Seals the entries not sealed yet, in the order they were written, after the last sealed one,
/// in one transaction (a savepoint of one that is open); gives how many it sealed. Content
/// entries that lack their digest take the one the component recorded (DocDigests) when they are
/// the document's latest. Does nothing on a database without a record of changes.
DORVANEL_EXPORT qint64 sealAuditLog(Connection& connection);

/// Attaches the record of changes to the connection, for userName: the entries this connection's
/// writes make carry that name, and every outermost Connection::Transaction on it seals the
/// entries as it commits. Called again, it changes the name. The Manager attaches its connection
/// for its userName (SetADOCnn, setUserName); a host that writes through the connection itself
/// may call it too. Does nothing on a database without a record of changes.
DORVANEL_EXPORT void attachAuditUser(Connection& connection, const QString& userName);

}  // namespace dorvanel
