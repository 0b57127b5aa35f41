#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "platform/SqliteDatabase.h"
#include "support/SqlLogCapture.h"
#include "support/TestDatabase.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sqlite3.h>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class ConnectionTest : public DatabaseTest {
protected:
    void insertDoc(int n, const QVariant& description, const QVariant& data = QByteArray("x")) {
        connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name, Description, Data) VALUES (?, ?, ?, ?)"),
                            {key(n), QStringLiteral("n"), description, data});
    }
    static QString key(int n) { return Key(QString::number(n)); }
};

TEST_F(ConnectionTest, NullStaysDistinctFromEmptyAndBlobsRoundTripByteExact) {
    insertDoc(0, QVariant(QMetaType(QMetaType::QString)), QVariant(QMetaType(QMetaType::QByteArray)));
    EXPECT_TRUE(docRow(key(0))->value(QStringLiteral("Description")).isNull());
    EXPECT_TRUE(docRow(key(0))->value(QStringLiteral("Data")).isNull());
    const QList<QByteArray> contents{QByteArray(""), QByteArray("\0a\0\xff\0", 5)};
    for (int i = 0; i < contents.size(); ++i) {
        insertDoc(i + 1, QStringLiteral(""), contents[i]);
        auto row = docRow(key(i + 1));
        EXPECT_FALSE(row->value(QStringLiteral("Description")).isNull()) << "content " << i;
        const QVariant back = row->value(QStringLiteral("DATA"));
        EXPECT_FALSE(back.isNull()) << "content " << i;
        EXPECT_TRUE(back.toByteArray() == contents[i]) << "content " << i;
    }
}

// Every statement's text is logged before it runs, refused ones too.
TEST_F(ConnectionTest, RefusedStatementRaisesDriverNumberAndText) {
    SqlLogCapture log;
    const Error refused = raisedBy([&] { connection->Execute(QStringLiteral("SELECT * FROM NoSuchTable")); });
    EXPECT_NE(refused.number(), 0);
    EXPECT_TRUE(refused.description().contains(QStringLiteral("nosuchtable"), Qt::CaseInsensitive)) << refused.what();
    connection->Execute(QStringLiteral("SELECT Name From Docs Where Sys_GUID = 'x'"));
    EXPECT_EQ(log.statements(), QStringList({QStringLiteral("SELECT * FROM NoSuchTable"),
                                             QStringLiteral("SELECT Name From Docs Where Sys_GUID = 'x'")}));
    connection->close();
    EXPECT_EQ(raisedBy([&] { connection->Execute(QStringLiteral("SELECT 1")); }).number(), Error::ObjectClosed);
}

// A refusal names the engine's code as its cause. On PostgreSQL, a statement refused only because
// an earlier failure aborted the transaction raises that earlier failure, which says why.
TEST_F(ConnectionTest, RefusalsCarryTheEngineCodeAndTheFailureThatAbortedTheTransaction) {
    Connection::Transaction transaction(*connection);
    const Error first = raisedBy([&] { connection->Execute(QStringLiteral("SELECT * FROM NoSuchTable")); });
    if (!onPostgreSql()) {
        EXPECT_EQ(first.number(), SQLITE_ERROR);
        const auto busy = sqliteError(SQLITE_BUSY, nullptr);
        EXPECT_EQ(busy.causes(), QStringList{QStringLiteral("SQLITE_BUSY")});
        EXPECT_TRUE(busy.description().endsWith(QStringLiteral(" (SQLITE_BUSY)"))) << busy.what();
        return;
    }
    EXPECT_EQ(first.causes(), QStringList{QStringLiteral("SQLSTATE 42P01")});
    EXPECT_TRUE(first.description().endsWith(QStringLiteral(" (SQLSTATE 42P01)"))) << first.what();
    const Error next = raisedBy([&] { connection->Execute(QStringLiteral("SELECT 1")); });
    EXPECT_EQ(next.description(), first.description());
}

// What the connection remembers of the schema follows a table dropped, renamed or undone on it.
TEST_F(ConnectionTest, TablesDroppedAlteredOrRolledBackAreSeenGoneAtOnce) {
    const std::pair<const char*, const char*> changes[] = {
        {"CREATE TABLE Pasajera (x integer)", "DROP TABLE Pasajera"},
        {"CREATE TABLE Pasajera (x integer)", "ALTER TABLE Pasajera RENAME TO Renombrada"},
    };
    for (const auto& [made, changed] : changes) {
        connection->Execute(QString::fromLatin1(made));
        EXPECT_TRUE(connection->hasTable(QStringLiteral("Pasajera")));
        connection->Execute(QString::fromLatin1(changed));
        EXPECT_FALSE(connection->hasTable(QStringLiteral("Pasajera"))) << changed;
        connection->Execute(QStringLiteral("DROP TABLE IF EXISTS Renombrada"));
    }
    {
        Connection::Transaction undone(*connection);
        connection->Execute(QStringLiteral("CREATE TABLE Pasajera (x integer)"));
        EXPECT_TRUE(connection->hasTable(QStringLiteral("Pasajera")));
    }
    EXPECT_FALSE(connection->hasTable(QStringLiteral("Pasajera")));
}

TEST_F(ConnectionTest, RecordsetWalksRowsMatchesFieldNamesWithoutCaseAndRaisesItsNumbers) {
    const QString select = QStringLiteral("SELECT Sys_PK, Description FROM Docs ORDER BY Sys_PK");
    for (int i = 1; i <= 3; ++i) insertDoc(i, QStringLiteral("d%1").arg(i));
    Recordset rows;
    rows.Open(select, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic);
    EXPECT_EQ(rows.RecordCount(), 3);
    EXPECT_FALSE(rows.BOF());
    EXPECT_EQ(raisedBy([&] { rows.value(QStringLiteral("Nope")); }).number(), Error::ItemNotFound);
    QStringList seen;
    for (; !rows.Eof(); rows.MoveNext()) seen << rows.value(QStringLiteral("DESCRIPTION")).toString();
    EXPECT_EQ(seen, QStringList({QStringLiteral("d1"), QStringLiteral("d2"), QStringLiteral("d3")}));
    EXPECT_EQ(raisedBy([&] { rows.value(QStringLiteral("Description")); }).number(), Error::NoCurrentRecord);

    Recordset failed;
    EXPECT_THROW(failed.Open(QStringLiteral("SELECT * FROM Missing"), connection), Error);
    EXPECT_EQ(failed.State(), Recordset::adStateClosed);
    EXPECT_EQ(raisedBy([&] { failed.RecordCount(); }).number(), Error::ObjectClosed);
}

TEST_F(ConnectionTest, LeftOutColumnReadsNullWhateverTheQueryNamesIt) {
    insertDoc(1, QStringLiteral("d"), QByteArray("content"));
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Select storeout,Description,Data,TypeData From Docs Where Sys_PK =1"), QStringLiteral("data")},
        {QStringLiteral("SELECT * FROM Docs"), QStringLiteral("DATA")},
    };
    for (const auto& [sql, leftOut] : cases) {
        Recordset rows;
        rows.leaveOut(leftOut);
        rows.Open(sql, connection, Recordset::adOpenKeyset);
        ASSERT_EQ(rows.RecordCount(), 1) << sql.toStdString();
        EXPECT_TRUE(rows.value(leftOut).isNull()) << sql.toStdString();
        EXPECT_EQ(rows.value(QStringLiteral("Description")).toString(), QStringLiteral("d")) << sql.toStdString();
    }
}

TEST_F(ConnectionTest, TransactionsRollBackUnlessCommittedAndNestAsSavepoints) {
    {
        Connection::Transaction abandoned(*connection);
        insertDoc(1, QStringLiteral("abandoned"));
    }
    {
        Connection::Transaction outer(*connection);
        insertDoc(2, QStringLiteral("kept"));
        {
            Connection::Transaction undone(*connection);
            insertDoc(3, QStringLiteral("undone"));
        }
        {
            Connection::Transaction inner(*connection);
            insertDoc(4, QStringLiteral("kept"));
            inner.commit();
        }
        outer.commit();
    }
    {
        Connection::Transaction outer(*connection);
        Connection::Transaction inner(*connection);
        insertDoc(5, QStringLiteral("lost with the outer"));
        inner.commit();
    }
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 2);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs WHERE Description = 'kept'")), 2);
}

// BLOB streaming calls the SQLite library the component links on the connection's handle;
// that is sound only because the component opened that handle itself, whatever SQLite the Qt
// build's own driver carries. Refusing a missing file is checked through the command line.
// A statement run again and again stays prepared, however many texts that carry their values ran
// once before it; the cache stays bounded.
TEST_F(ConnectionTest, RepeatedStatementStaysPreparedAfterManyRunOnce) {
    if (onPostgreSql()) GTEST_SKIP() << "the prepared statements kept are SQLite's";
    for (int i = 0; i < 100; ++i) connection->Execute(QStringLiteral("SELECT %1").arg(i));
    const QString repeated = QStringLiteral("SELECT count(*) FROM Docs");
    connection->Execute(repeated);
    QStringList prepared;
    sqlite3* db = sqliteHandle(*connection);
    for (sqlite3_stmt* statement = sqlite3_next_stmt(db, nullptr); statement;
         statement = sqlite3_next_stmt(db, statement))
        prepared << QString::fromUtf8(sqlite3_sql(statement));
    EXPECT_TRUE(prepared.contains(repeated));
    const QRegularExpression runOnce(QStringLiteral("^SELECT \\d+$"));
    EXPECT_LT(prepared.filter(runOnce).size(), 32) << "room was made by finalizing the oldest";
}

TEST(ConnectionOpen, OpensSqliteItselfAndRefusesWhatItCannotOpen) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("own.sqlite"));
    auto connection = Connection::open(QStringLiteral("sqlite:") + path);
    EXPECT_EQ(QString::fromUtf8(sqlite3_db_filename(sqliteHandle(*connection), "main")),
              QFileInfo(path).absoluteFilePath());
    EXPECT_NO_THROW(Connection::openExisting(QStringLiteral("sqlite:") + path));
    for (const QString& url : {QStringLiteral("mysql://x"), QStringLiteral("sqlite:/nonexistent-folder/x/y.sqlite")})
        EXPECT_EQ(raisedBy([&] { Connection::open(url); }).number(), Error::OpenFailed) << url.toStdString();
}

}  // namespace
