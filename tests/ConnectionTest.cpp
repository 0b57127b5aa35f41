#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "platform/SqliteDatabase.h"
#include "support/SqlLogCapture.h"
#include "support/TestDatabase.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <sqlite3.h>

using namespace dorvanel;
using dorvanel::test::DatabaseTest;
using dorvanel::test::LargestDocument;
using dorvanel::test::SqlLogCapture;
using namespace Qt::StringLiterals;

namespace {

class ConnectionTest : public DatabaseTest {
protected:
    void insertDoc(const QString& guid, const QVariant& description, const QVariant& data) {
        connection->Execute(u"INSERT INTO Docs (Sys_GUID, Name, Description, Data) VALUES (?, ?, ?, ?)"_s,
                            {guid, u"n"_s, description, data});
    }
    std::shared_ptr<Recordset> selectDoc(const QString& guid) {
        return connection->Execute(u"SELECT Description, Data FROM Docs WHERE Sys_GUID = '%1'"_s.arg(guid));
    }
};

QString key(int n) { return u"%1"_s.arg(n, 32, 10, QLatin1Char('0')); }

QByteArray randomBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& byte : bytes) byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

TEST_F(ConnectionTest, NullStaysDistinctFromEmptyAndBlobsRoundTripByteExact) {
    insertDoc(key(0), QVariant(QMetaType(QMetaType::QString)), QVariant(QMetaType(QMetaType::QByteArray)));
    auto nulls = selectDoc(key(0));
    EXPECT_TRUE(nulls->Fields(u"Description"_s).isNull());
    EXPECT_TRUE(nulls->Fields(u"Data"_s).isNull());
    const QList<QByteArray> contents{QByteArray(""), QByteArray("\0a\0\xff\0", 5), randomBytes(LargestDocument / 4)};
    for (int i = 0; i < contents.size(); ++i) {
        insertDoc(key(i + 1), u""_s, contents[i]);
        auto row = selectDoc(key(i + 1));
        EXPECT_FALSE(row->Fields(u"Description"_s).isNull()) << "content " << i;
        const QVariant back = row->Fields(u"DATA"_s);
        EXPECT_FALSE(back.isNull()) << "content " << i;
        EXPECT_EQ(back.toByteArray().size(), contents[i].size()) << "content " << i;
        EXPECT_TRUE(back.toByteArray() == contents[i]) << "content " << i;
    }
}

// Every statement's text is logged before it runs, refused ones too.
TEST_F(ConnectionTest, RefusedStatementRaisesDriverNumberAndText) {
    SqlLogCapture log;
    try {
        connection->Execute(u"SELECT * FROM NoSuchTable"_s);
        FAIL() << "no Error raised";
    } catch (const Error& error) {
        EXPECT_NE(error.number(), 0);
        EXPECT_TRUE(error.description().contains(u"nosuchtable"_s, Qt::CaseInsensitive))
            << error.description().toStdString();
    }
    connection->Execute(u"SELECT Name From Docs Where Sys_GUID = 'x'"_s);
    EXPECT_EQ(log.statements(),
              QStringList({u"SELECT * FROM NoSuchTable"_s, u"SELECT Name From Docs Where Sys_GUID = 'x'"_s}));
    connection->Close();
    EXPECT_THROW(connection->Execute(u"SELECT 1"_s), Error) << "closed";
}

TEST_F(ConnectionTest, RecordsetWalksRowsMatchesFieldNamesWithoutCaseAndRaisesItsNumbers) {
    const auto numberOf = [](auto&& action) {
        try {
            action();
        } catch (const Error& error) {
            return error.number();
        }
        return 0;
    };
    const QString select = u"SELECT Sys_PK, Description FROM Docs ORDER BY Sys_PK"_s;
    Recordset rows;
    rows.Open(select, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic);
    EXPECT_EQ(rows.RecordCount(), 0);
    EXPECT_TRUE(rows.BOF() && rows.Eof());
    EXPECT_EQ(numberOf([&] { rows.Fields(u"Description"_s); }), Error::NoCurrentRecord);
    EXPECT_EQ(numberOf([&] { rows.Fields(u"Nope"_s); }), Error::ItemNotFound);
    rows.Close();

    for (int i = 1; i <= 3; ++i) insertDoc(key(i), u"d%1"_s.arg(i), QByteArray("x"));
    rows.Open(select, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic);
    EXPECT_EQ(rows.State(), Recordset::adStateOpen);
    EXPECT_EQ(rows.RecordCount(), 3);
    EXPECT_FALSE(rows.BOF());
    QStringList seen;
    for (; !rows.Eof(); rows.MoveNext()) seen << rows.Fields(u"DESCRIPTION"_s).toString();
    EXPECT_EQ(seen, QStringList({u"d1"_s, u"d2"_s, u"d3"_s}));
    EXPECT_EQ(numberOf([&] { rows.Fields(u"Description"_s); }), Error::NoCurrentRecord);
    rows.Close();
    EXPECT_EQ(rows.State(), Recordset::adStateClosed);

    Recordset failed;
    EXPECT_THROW(failed.Open(u"SELECT * FROM Missing"_s, connection), Error);
    EXPECT_EQ(failed.State(), Recordset::adStateClosed);
    EXPECT_EQ(numberOf([&] { failed.RecordCount(); }), Error::ObjectClosed);
}

TEST_F(ConnectionTest, TwoConnectionsShareOneDatabase) {
    auto other = Connection::Open(url());
    {
        Connection::Transaction writing(*connection);
        insertDoc(key(1), u"first"_s, QByteArray("x"));
        // A reader on the other connection is not blocked by the open write.
        EXPECT_NE(other->Execute(u"SELECT Name FROM Docs"_s), nullptr);
        writing.Commit();
    }
    other->Execute(u"INSERT INTO Docs (Sys_GUID, Name) VALUES ('%1', 'second')"_s.arg(key(2)));
    Recordset rows;
    rows.Open(u"SELECT Name FROM Docs"_s, connection, Recordset::adOpenStatic);
    EXPECT_EQ(rows.RecordCount(), 2);
    if (!onPostgreSql()) {
        auto mode = connection->Execute(u"PRAGMA journal_mode"_s);
        EXPECT_EQ(mode->Fields(0).toString(), u"wal"_s);
    }
}

TEST_F(ConnectionTest, TransactionsRollBackUnlessCommittedAndNestAsSavepoints) {
    const auto names = [&] {
        QStringList found;
        for (auto rows = connection->Execute(u"SELECT Description FROM Docs ORDER BY Sys_PK"_s); !rows->Eof();
             rows->MoveNext())
            found << rows->Fields(0).toString();
        return found;
    };
    {
        Connection::Transaction abandoned(*connection);
        insertDoc(key(1), u"abandoned"_s, QByteArray("x"));
    }
    {
        Connection::Transaction outer(*connection);
        insertDoc(key(2), u"outer"_s, QByteArray("x"));
        {
            Connection::Transaction undone(*connection);
            insertDoc(key(3), u"undone"_s, QByteArray("x"));
        }
        {
            Connection::Transaction kept(*connection);
            insertDoc(key(4), u"inner"_s, QByteArray("x"));
            kept.Commit();
        }
        outer.Commit();
    }
    EXPECT_EQ(names(), QStringList({u"outer"_s, u"inner"_s}));
    {
        Connection::Transaction outer(*connection);
        Connection::Transaction inner(*connection);
        insertDoc(key(5), u"lost with the outer"_s, QByteArray("x"));
        inner.Commit();
    }
    EXPECT_EQ(names().size(), 2);
}

// BLOB streaming calls the SQLite library the component links on the connection's handle;
// that is sound only because the component opened that handle itself, whatever SQLite the Qt
// build's own driver carries.
TEST(ConnectionOpen, OpensSqliteItselfAndRejectsUnknownAddressesAndUnopenableFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"own.sqlite"_s);
    const QStringList qtConnections = QSqlDatabase::connectionNames();
    auto connection = Connection::Open(u"sqlite:"_s + path);
    EXPECT_EQ(QSqlDatabase::connectionNames(), qtConnections) << "no Qt SQL connection is made";
    EXPECT_EQ(QString::fromUtf8(sqlite3_db_filename(sqliteHandle(*connection), "main")),
              QFileInfo(path).absoluteFilePath());
    EXPECT_THROW(Connection::Open(u"mysql://x"_s), Error);
    EXPECT_THROW(Connection::Open(u"sqlite:/nonexistent-folder/x/y.sqlite"_s), Error);
}

}  // namespace
