#include "repository/AuditLog.h"

#include "platform/Connection.h"
#include "platform/Database_p.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/AuditChain.h"

#include <QCoreApplication>
#include <QHash>

namespace dorvanel {

namespace {

const QString AuditTable = QStringLiteral("DocAudit");
const char* const RowColumns = "Id, Entry, At, Who, Action, Doc, Parent, Sha256, Prev, Hash";
// Sealers on PostgreSQL take this lock for their transaction, one after another; nobody else
// takes it, so a plain client's write never waits for it.
const qint64 SealingLock = 0x446f6341756469;
// Entries sealed from one read, so that sealing a long backlog takes little memory.
const int SealBatch = 4096;

bool onSqlite(const Connection& connection) { return connection.engine() == Connection::Engine::Sqlite; }

QString rowQuery(const QString& condition) {
    return QStringLiteral("SELECT %1 FROM DocAudit %2").arg(QLatin1String(RowColumns), condition);
}

// The text at index, copied out of the row, which it would otherwise outlive.
QByteArray textAt(const Recordset& rows, int index) {
    const QByteArray text = rows.utf8(index);
    return QByteArray(text.constData(), text.size());
}

AuditRow rowAt(const Recordset& rows) {
    AuditRow row;
    row.id = rows.utf8(0).toLongLong();
    if (const QByteArray entry = rows.utf8(1); !entry.isEmpty()) row.entry = entry.toLongLong();
    QByteArray* fields[] = {&row.at, &row.who, &row.action, &row.doc, &row.parent, &row.sha256, &row.prev, &row.hash};
    for (int index = 0; index < 8; ++index) *fields[index] = textAt(rows, index + 2);
    return row;
}

QList<AuditRow> rowsOf(Connection& connection, const QString& sql, const QVariantList& values = {}) {
    QList<AuditRow> rows;
    for (auto found = connection.Execute(sql, values); !found->Eof(); found->MoveNext()) rows << rowAt(*found);
    return rows;
}

// The last sealed entry's position and hash. On SQLite sealing follows the order of Id, so it is
// found from the end of the table without an index; PostgreSQL has one on Entry.
std::pair<qint64, QByteArray> lastSealed(Connection& connection) {
    const QList<AuditRow> last =
        rowsOf(connection,
               rowQuery(onSqlite(connection) ? QStringLiteral("WHERE Entry IS NOT NULL ORDER BY Id DESC LIMIT 1")
                                             : QStringLiteral("WHERE Entry IS NOT NULL ORDER BY Entry DESC LIMIT 1")));
    if (last.isEmpty()) return {0, firstPrev()};
    return {last.first().entry.value_or(0), last.first().hash};
}

// The next entries to seal, at most a batch of them, in the order they were written. On SQLite
// only those after the last sealed one: an unsealed row before it was slipped in, and
// verification reports it.
QList<AuditRow> pendingRows(Connection& connection) {
    if (!onSqlite(connection))
        return rowsOf(connection, rowQuery(QStringLiteral("WHERE Entry IS NULL ORDER BY Id LIMIT %1").arg(SealBatch)));
    return rowsOf(connection, rowQuery(QStringLiteral("WHERE Id > coalesce((SELECT Id FROM DocAudit WHERE Entry IS NOT "
                                                      "NULL ORDER BY Id DESC LIMIT 1), 0) ORDER BY Id LIMIT %1")
                                           .arg(SealBatch)));
}

bool isContentEntry(const AuditRow& row) { return row.action == "stored" || row.action == "replaced"; }

// On SQLite a trigger cannot take a content's digest. The component records it in DocDigests as
// it writes the content, so its own entries (those with a who) take it from there when they are
// the document's latest content entry; a plain client's stay without one.
void addKnownDigests(Connection& connection, QList<AuditRow>& rows) {
    if (!onSqlite(connection) || !connection.hasTable(QStringLiteral("DocDigests"))) return;
    QHash<QByteArray, AuditRow*> latest;
    for (AuditRow& row : rows)
        if (isContentEntry(row)) latest.insert(row.doc, &row);
    for (AuditRow* row : std::as_const(latest)) {
        if (!row->sha256.isEmpty() || row->who.isEmpty()) continue;
        const auto digest = connection.Execute(QStringLiteral("SELECT Sha256 FROM DocDigests WHERE Sys_GUID = ?"),
                                               {QString::fromUtf8(row->doc)});
        if (!digest->Eof()) row->sha256 = textAt(*digest, 0);
    }
}

// Chains the rows after the entry at position entry with hash prev; leaves entry and prev at
// the last one sealed.
void sealRows(Connection& connection, QList<AuditRow>& rows, qint64& entry, QByteArray& prev) {
    addKnownDigests(connection, rows);
    for (AuditRow& row : rows) {
        row.prev = prev;
        prev = chainHash(row);
        connection.Execute(QStringLiteral("UPDATE DocAudit SET Entry = ?, Prev = ?, Hash = ?, Sha256 = ? WHERE Id = ?"),
                           {++entry, QString::fromLatin1(row.prev), QString::fromLatin1(prev),
                            row.sha256.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                                 : QString::fromLatin1(row.sha256),
                            row.id});
    }
}

// Seals inside the transaction that is open.
qint64 sealPending(Connection& connection) {
    if (!connection.hasTable(AuditTable)) return 0;
    if (!onSqlite(connection))
        connection.Execute(QStringLiteral("SELECT 1 FROM pg_advisory_xact_lock(%1)").arg(SealingLock));
    QList<AuditRow> rows = pendingRows(connection);
    if (rows.isEmpty()) return 0;
    auto [entry, prev] = lastSealed(connection);
    for (qint64 sealed = 0;; rows = pendingRows(connection)) {
        sealRows(connection, rows, entry, prev);
        sealed += rows.size();
        if (rows.size() < SealBatch) return sealed;
    }
}

// Who this connection's entries name. SQLite: a trigger of this connection alone (a temporary
// one) writes the name into each entry as it is made. PostgreSQL: a setting of the session that
// the record's triggers read.
void nameWriter(Connection& connection, const QString& userName) {
    if (!onSqlite(connection)) {
        connection.Execute(QStringLiteral("SELECT set_config('dorvanel.user', ?, false)"), {userName});
        return;
    }
    QString quoted = userName;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    connection.Execute(QStringLiteral("DROP TRIGGER IF EXISTS temp.DocAudit_Who"));
    connection.Execute(QStringLiteral("CREATE TEMP TRIGGER DocAudit_Who AFTER INSERT ON main.DocAudit BEGIN "
                                      "UPDATE DocAudit SET Who = '%1' WHERE Id = NEW.Id; END")
                           .arg(quoted));
}

AuditEntry entryOf(const AuditRow& row) {
    QDateTime at = QDateTime::fromString(QString::fromLatin1(row.at), Qt::ISODateWithMs);
    return {row.entry.value_or(0),          at,
            QString::fromUtf8(row.who),     QString::fromUtf8(row.action),
            QString::fromUtf8(row.doc),     QString::fromUtf8(row.parent),
            QString::fromLatin1(row.sha256)};
}

void requireAudit(Connection& connection) {
    if (!connection.hasTable(AuditTable))
        throw Error(Error::ItemNotFound,
                    QCoreApplication::translate("dorvanel::AuditLog", "La base de datos no tiene registro de cambios"));
}

// The time as the entries store it: UTC, to the millisecond, with its offset.
QString storedTime(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz+00:00"));
}

}  // namespace

QList<AuditEntry> auditEntries(Connection& connection, const QString& document, const QDateTime& since) {
    requireAudit(connection);
    QStringList conditions;
    QVariantList values;
    if (!document.isEmpty()) {
        conditions << QStringLiteral("Doc = ?");
        values << document;
    }
    if (since.isValid()) {
        conditions << QStringLiteral("At >= ?");
        values << storedTime(since);
    }
    const QString where = conditions.isEmpty() ? QString()
                                               : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
    const QString order = onSqlite(connection) ? QStringLiteral("ORDER BY Entry IS NULL, Id")
                                               : QStringLiteral("ORDER BY Entry IS NULL, Entry, Id");
    QList<AuditEntry> entries;
    for (const AuditRow& row : rowsOf(connection, rowQuery(where + QLatin1Char(' ') + order), values))
        entries << entryOf(row);
    return entries;
}

AuditVerdict verifyAuditLog(Connection& connection) {
    requireAudit(connection);
    // One snapshot: entries sealed meanwhile by another process do not break the walk.
    Connection::Transaction snapshot(connection, Connection::Access::ReadOnly);
    const bool sqlite = onSqlite(connection);
    const auto rows = connection.Execute(
        rowQuery(sqlite ? QStringLiteral("ORDER BY Id") : QStringLiteral("WHERE Entry IS NOT NULL ORDER BY Entry")));
    AuditVerdict verdict = walkChain([&](AuditRow& row) {
        if (rows->Eof()) return false;
        row = rowAt(*rows);
        rows->MoveNext();
        return true;
    });
    if (!sqlite)
        verdict.pending = connection.Execute(QStringLiteral("SELECT count(*) FROM DocAudit WHERE Entry IS NULL"))
                              ->value(0)
                              .toLongLong();
    snapshot.commit();
    return verdict;
}

qint64 sealAuditLog(Connection& connection) {
    Connection::Transaction transaction(connection);
    const qint64 sealed = sealPending(connection);
    transaction.commit();
    return sealed;
}

void attachAuditUser(Connection& connection, const QString& userName) {
    if (!connection.hasTable(AuditTable)) return;
    nameWriter(connection, userName);
    databaseOf(connection).beforeCommit = [](Connection& committing) { sealPending(committing); };
}

}  // namespace dorvanel
