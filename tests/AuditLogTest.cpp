#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/AuditLog.h"
#include "repository/Trash.h"
#include "support/RepositoryTest.h"

#include <QCryptographicHash>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class AuditLogTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        if (!databaseReady()) return;
        // Another client of the same database, writing plain SQL: the component never attached it.
        plain = Connection::open(url());
        plainWho = onPostgreSql() ? plain->Execute(QStringLiteral("SELECT session_user"))->value(0).toString()
                                  : QString();
    }

    void plainSql(const QString& sql, const QVariantList& values = {}) { plain->Execute(sql, values); }

    // "who|action|document|parent" of every entry, in order.
    QStringList recorded() {
        QStringList lines;
        for (const AuditEntry& entry : auditEntries(*connection))
            lines << QStringList{entry.who, entry.action, entry.document, entry.parent}.join(u'|');
        return lines;
    }

    // The trash's protocol as a client that writes SQL follows it.
    void plainMoveToTrash(const QString& guid) {
        plainSql(QStringLiteral("INSERT INTO DocsTrash (Sys_PK, Sys_GUID, Name, RemovedAt, Size) "
                                "SELECT Sys_PK, Sys_GUID, Name, 'ahora', coalesce(length(Data), 0) FROM Docs "
                                "WHERE Sys_GUID = ?"),
                 {guid});
        plainSql(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {guid});
    }
    void plainRestoreFromTrash(const QString& guid) {
        plainSql(QStringLiteral("INSERT INTO Docs (Sys_PK, Sys_GUID, Name) "
                                "SELECT Sys_PK, Sys_GUID, Name FROM DocsTrash WHERE Sys_GUID = ?"),
                 {guid});
        plainSql(QStringLiteral("DELETE FROM DocsTrash WHERE Sys_GUID = ?"), {guid});
    }

    std::shared_ptr<Connection> plain;
    QString plainWho;
};

QString sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

TEST_F(AuditLogTest, RecordsEveryChangeWithWhoMadeIt) {
    manager->setUserName(QStringLiteral("O'Brien"));
    const QString guid = storeFile(QStringLiteral("Contrato"), QStringLiteral("txt"), "uno");
    link(Key(QStringLiteral("P1")), guid);
    ASSERT_TRUE(manager->DeleteLink(Key(QStringLiteral("P1")), guid));
    plainSql(QStringLiteral("UPDATE Docs SET Description = 'otra' WHERE Sys_GUID = ?"), {guid});
    // Neither the miniature alone nor a write that changes nothing is an edit.
    plainSql(QStringLiteral("UPDATE Docs SET MiniData = NULL, Name = Name WHERE Sys_GUID = ?"), {guid});
    plainSql(QStringLiteral("UPDATE Docs SET Data = ? WHERE Sys_GUID = ?"), {QByteArray("dos"), guid});
    plainMoveToTrash(guid);
    plainRestoreFromTrash(guid);
    plainSql(QStringLiteral("INSERT INTO DocLink (FK_Parent, FK_Doc, TypeParent, Sis) VALUES (?, ?, 'C', 1)"),
             {Key(QStringLiteral("P2")), guid});
    ASSERT_TRUE(manager->RemoveDocument(guid));
    // Larger than a chunk, so that its content is streamed in after its row is written.
    const QByteArray large(1024 * 1024 + 1, 'x');
    const QString other = storeFile(QStringLiteral("Otro"), QStringLiteral("txt"), large);
    plainMoveToTrash(other);
    plainSql(QStringLiteral("DELETE FROM DocsTrash WHERE Sys_GUID = ?"), {other});

    const QString me = QStringLiteral("O'Brien");
    const QString p2 = Key(QStringLiteral("P2"));
    EXPECT_EQ(recorded(), (QStringList{
                              me + "|stored|" + guid + "|",
                              me + "|linked|" + guid + "|" + Key(QStringLiteral("P1")),
                              me + "|unlinked|" + guid + "|" + Key(QStringLiteral("P1")),
                              plainWho + "|edited|" + guid + "|",
                              plainWho + "|replaced|" + guid + "|",
                              plainWho + "|removed|" + guid + "|",
                              plainWho + "|restored|" + guid + "|",
                              plainWho + "|linked|" + guid + "|" + p2,
                              me + "|purged|" + guid + "|",
                              me + "|stored|" + other + "|",
                              plainWho + "|removed|" + other + "|",
                              plainWho + "|purged|" + other + "|",
                          }));

    const QList<AuditEntry> entries = auditEntries(*connection, guid);
    ASSERT_EQ(entries.size(), 9);
    // The component's own writes sealed everything before them.
    for (qint64 index = 0; index < 9; ++index) EXPECT_EQ(entries[index].entry, index + 1);
    EXPECT_EQ(entries[0].sha256, sha256Of("uno"));
    EXPECT_EQ(auditEntries(*connection, other).value(0).sha256, sha256Of(large));
    // A digest PostgreSQL's trigger takes; SQLite's cannot, and a plain client records none.
    EXPECT_EQ(entries[4].sha256, onPostgreSql() ? sha256Of("dos") : QString());
    EXPECT_TRUE(entries[0].at.isValid());
    EXPECT_LE(qAbs(entries[0].at.secsTo(QDateTime::currentDateTimeUtc())), 60);
    EXPECT_TRUE(auditEntries(*connection, guid, QDateTime::currentDateTimeUtc().addSecs(60)).isEmpty());
}

// The component's own trash: the move, the restore and the purge, each recorded and sealed as
// its transaction commits, the content's digest going with the document.
TEST_F(AuditLogTest, TheComponentsTrashRecordsRemovedRestoredAndPurged) {
    manager->setUsesTrash(true);
    manager->setUserName(QStringLiteral("Ana"));
    const QString guid = storeFile(QStringLiteral("A"), QStringLiteral("txt"), "a");
    ASSERT_TRUE(manager->RemoveDocument(guid)) << manager->LastErrDescrip().toStdString();
    restoreFromTrash(*connection, guid);
    moveDocumentToTrash(*connection, guid, QStringLiteral("Ana"));
    purgeTrash(*connection);
    QStringList actions;
    for (const AuditEntry& entry : auditEntries(*connection)) {
        actions << entry.who + u' ' + entry.action;
        EXPECT_GT(entry.entry, 0) << entry.action.toStdString();
    }
    EXPECT_EQ(actions, (QStringList{"Ana stored", "Ana removed", "Ana restored", "Ana removed", "Ana purged"}));
    EXPECT_EQ(auditEntries(*connection).value(2).sha256, sha256Of("a"));
    EXPECT_TRUE(verifyAuditLog(*connection).intact());
}

TEST_F(AuditLogTest, PlainClientWritesWhileTheComponentSealsAndVerifyLeavesThemPending) {
    storeFile(QStringLiteral("A"), QStringLiteral("txt"), "a");
    std::optional<Connection::Transaction> sealing;
    // PostgreSQL: the component holds its sealing lock meanwhile; SQLite has one writer at a time.
    if (onPostgreSql()) sealing.emplace(*connection);
    sealAuditLog(*connection);
    plainSql(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name) VALUES (?, 'b')"), {Key(QStringLiteral("B"))});
    // Ended without keeping anything: only the plain client's write has to have gone through.
    sealing.reset();

    const AuditVerdict verdict = verifyAuditLog(*connection);
    EXPECT_TRUE(verdict.intact());
    EXPECT_EQ(verdict.entries, 1);
    EXPECT_EQ(verdict.pending, 1);
    EXPECT_EQ(auditEntries(*connection).last().entry, 0);
    EXPECT_EQ(sealAuditLog(*connection), 1);
    EXPECT_EQ(verifyAuditLog(*connection).entries, 2);
}

// A link removed inside a transaction is sealed as that commits, not before.
TEST_F(AuditLogTest, InsideATransactionTheCommitSeals) {
    const QString guid = storeFile(QStringLiteral("A"), QStringLiteral("txt"), "a");
    link(Key(QStringLiteral("P1")), guid);
    Connection::Transaction transaction(*connection);
    ASSERT_TRUE(manager->DeleteLink(Key(QStringLiteral("P1")), guid));
    EXPECT_EQ(auditEntries(*connection).last().entry, 0);
    transaction.commit();
    EXPECT_EQ(auditEntries(*connection).last().entry, 3);
}

// Each way of breaking the sealed chain, by a client that writes the table directly. On SQLite
// the chain follows Id, on PostgreSQL Entry; the log has entries 1 to 6, each with Id = Entry.
struct Break {
    const char* name;
    QStringList sqlite;
    QStringList postgreSql;
    AuditVerdict::Fault fault;
    qint64 position;
};

// A copy of entry 2, hash and all, as entry 4 (or on SQLite, at Id 4).
QString copyOfSecond(const QString& idColumn, const QString& id, const QString& entry) {
    return QStringLiteral(
               "INSERT INTO DocAudit (%1At, Who, Action, Doc, Parent, Sha256, Entry, Prev, Hash) "
               "SELECT %2At, Who, Action, Doc, Parent, Sha256, %3, Prev, Hash FROM DocAudit WHERE Entry = 2")
        .arg(idColumn, id, entry);
}

const Break Breaks[] = {
    {"altered",
     {QStringLiteral("UPDATE DocAudit SET Who = 'Eva' WHERE Entry = 3")},
     {},
     AuditVerdict::Fault::Altered,
     3},
    {"removed", {QStringLiteral("DELETE FROM DocAudit WHERE Entry = 3")}, {}, AuditVerdict::Fault::Removed, 3},
    {"inserted",
     {QStringLiteral("UPDATE DocAudit SET Id = Id + 1000 WHERE Entry >= 4"),
      copyOfSecond(QStringLiteral("Id, "), QStringLiteral("4, "), QStringLiteral("Entry"))},
     {QStringLiteral("UPDATE DocAudit SET Entry = Entry + 1000 WHERE Entry >= 4"),
      QStringLiteral("UPDATE DocAudit SET Entry = Entry - 999 WHERE Entry >= 1000"),
      copyOfSecond(QString(), QString(), QStringLiteral("4"))},
     AuditVerdict::Fault::Inserted,
     4},
    {"reordered",
     {QStringLiteral("UPDATE DocAudit SET Id = 100 WHERE Id = 3"),
      QStringLiteral("UPDATE DocAudit SET Id = 3 WHERE Id = 4"),
      QStringLiteral("UPDATE DocAudit SET Id = 4 WHERE Id = 100")},
     {QStringLiteral("UPDATE DocAudit SET Entry = 100 WHERE Entry = 3"),
      QStringLiteral("UPDATE DocAudit SET Entry = 3 WHERE Entry = 4"),
      QStringLiteral("UPDATE DocAudit SET Entry = 4 WHERE Entry = 100")},
     AuditVerdict::Fault::Reordered,
     3},
};

TEST_F(AuditLogTest, VerifyNamesTheFirstBrokenEntryAndHow) {
    for (const Break& broken : Breaks) {
        SCOPED_TRACE(broken.name);
        connection->Execute(QStringLiteral("DELETE FROM DocAudit"));
        const QString guid = storeFile(QStringLiteral("A"), QStringLiteral("txt"), "a");
        for (const char* parent : {"P1", "P2", "P3", "P4", "P5"}) link(Key(QString::fromLatin1(parent)), guid);
        const qint64 first = connection->Execute(QStringLiteral("SELECT min(Id) FROM DocAudit"))->value(0).toLongLong();
        plainSql(QStringLiteral("UPDATE DocAudit SET Id = Id - %1 + 1").arg(first));
        const AuditVerdict before = verifyAuditLog(*connection);
        ASSERT_TRUE(before.intact());
        ASSERT_EQ(before.entries, 6);
        EXPECT_EQ(
            before.lastHash,
            connection->Execute(QStringLiteral("SELECT Hash FROM DocAudit WHERE Entry = 6"))->value(0).toString());

        const QStringList& statements = broken.postgreSql.isEmpty() || !onPostgreSql() ? broken.sqlite
                                                                                       : broken.postgreSql;
        for (const QString& statement : statements) plainSql(statement);
        const AuditVerdict after = verifyAuditLog(*connection);
        EXPECT_EQ(int(after.fault), int(broken.fault));
        EXPECT_EQ(after.position, broken.position);
    }
}

TEST_F(AuditLogTest, AnUnsealedEntryAmongSealedOnesWasSlippedIn) {
    if (onPostgreSql()) GTEST_SKIP() << "PostgreSQL seals in commit order, not in the order of Id";
    const QString guid = storeFile(QStringLiteral("A"), QStringLiteral("txt"), "a");
    for (const char* parent : {"P1", "P2", "P3"}) link(Key(QString::fromLatin1(parent)), guid);
    plainSql(QStringLiteral("UPDATE DocAudit SET Id = Id + 1000 WHERE Entry >= 3"));
    plainSql(QStringLiteral(
                 "INSERT INTO DocAudit (Id, At, Who, Action, Doc) VALUES (3, '2026-01-01', '', 'purged', ?)"),
             {guid});
    const AuditVerdict verdict = verifyAuditLog(*connection);
    EXPECT_EQ(int(verdict.fault), int(AuditVerdict::Fault::Inserted));
    EXPECT_EQ(verdict.position, 3);
    // Sealing goes on after the last sealed entry and leaves the slipped-in one as it is.
    EXPECT_EQ(sealAuditLog(*connection), 0);
}

}  // namespace
