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

// What is to be sealed next: at most a batch of entries, in the order they were written, and
// the position and hash of the last sealed entry they follow.
struct Backlog {
    qint64 entry = 0;
    QByteArray prev = firstPrev();
    QList<AuditRow> rows;
};

bool isContentEntry(const AuditRow& row) { return row.action == "stored" || row.action == "replaced"; }

// One read on SQLite, as it runs with every store: the last sealed entry, found from the end of
// the table without an index since sealing follows the order of Id, then the entries after it.
// Those are the only ones sealed: an unsealed row before it was slipped in, and verification
// reports it. A trigger cannot take a content's digest here, but the component records it in
// DocDigests as it writes the content: its own entries (those with a who) take it from there
// when they are the document's latest content entry. A plain client's stay without one.
Backlog sqliteBacklog(Connection& connection) {
    // A database may lack DocDigests (a host's own schema, or one it dropped): no digests then.
    const bool digests = connection.hasTable(QStringLiteral("DocDigests"));
    const auto found = connection.Execute(
        QStringLiteral("SELECT a.Id, a.Entry, a.At, a.Who, a.Action, a.Doc, a.Parent, a.Sha256, a.Prev, a.Hash, "
                       "%1 FROM DocAudit a %2 "
                       "WHERE a.Id >= coalesce((SELECT Id FROM DocAudit WHERE Entry IS NOT NULL ORDER BY Id DESC "
                       "LIMIT 1), 0) ORDER BY a.Id LIMIT %3")
            .arg(digests ? QStringLiteral("d.Sha256") : QStringLiteral("NULL"),
                 digests ? QStringLiteral("LEFT JOIN DocDigests d ON d.Sys_GUID = a.Doc") : QString())
            .arg(SealBatch + 1));
    Backlog backlog;
    QHash<QByteArray, std::pair<qsizetype, QByteArray>> latestContent;
    for (; !found->Eof(); found->MoveNext()) {
        AuditRow row = rowAt(*found);
        if (row.entry) {
            backlog.entry = *row.entry;
            backlog.prev = row.hash;
            continue;
        }
        if (isContentEntry(row)) latestContent.insert(row.doc, {backlog.rows.size(), textAt(*found, 10)});
        backlog.rows << row;
    }
    for (const auto& [index, recorded] : std::as_const(latestContent)) {
        AuditRow& row = backlog.rows[index];
        if (row.sha256.isEmpty() && !row.who.isEmpty()) row.sha256 = recorded;
    }
    return backlog;
}

// PostgreSQL's triggers take the digests themselves, and the index on Entry finds the last one.
Backlog postgreSqlBacklog(Connection& connection) {
    Backlog backlog;
    backlog.rows = rowsOf(connection,
                          rowQuery(QStringLiteral("WHERE Entry IS NULL ORDER BY Id LIMIT %1").arg(SealBatch)));
    if (backlog.rows.isEmpty()) return backlog;
    const QList<AuditRow> last =
        rowsOf(connection, rowQuery(QStringLiteral("WHERE Entry IS NOT NULL ORDER BY Entry DESC LIMIT 1")));
    if (!last.isEmpty()) {
        backlog.entry = last.first().entry.value_or(0);
        backlog.prev = last.first().hash;
    }
    return backlog;
}

void seal(Connection& connection, Backlog& backlog) {
    qint64 entry = backlog.entry;
    QByteArray prev = backlog.prev;
    for (AuditRow& row : backlog.rows) {
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
    const bool sqlite = onSqlite(connection);
    if (!sqlite) connection.Execute(QStringLiteral("SELECT 1 FROM pg_advisory_xact_lock(%1)").arg(SealingLock));
    for (qint64 sealed = 0;;) {
        Backlog backlog = sqlite ? sqliteBacklog(connection) : postgreSqlBacklog(connection);
        seal(connection, backlog);
        sealed += backlog.rows.size();
        if (backlog.rows.size() < SealBatch) return sealed;
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
