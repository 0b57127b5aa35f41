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

namespace {

class ConnectionTest : public DatabaseTest {
protected:
    void insertDoc(const QString& guid, const QVariant& description, const QVariant& data) {
        connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name, Description, Data) VALUES (?, ?, ?, ?)"),
                            {guid, QStringLiteral("n"), description, data});
    }
    std::shared_ptr<Recordset> selectDoc(const QString& guid) {
        return connection->Execute(
            QStringLiteral("SELECT Description, Data FROM Docs WHERE Sys_GUID = '%1'").arg(guid));
    }
};

QString key(int n) { return QStringLiteral("%1").arg(n, 32, 10, QLatin1Char('0')); }

QByteArray randomBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& byte : bytes) byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

TEST_F(ConnectionTest, NullStaysDistinctFromEmptyAndBlobsRoundTripByteExact) {
    insertDoc(key(0), QVariant(QMetaType(QMetaType::QString)), QVariant(QMetaType(QMetaType::QByteArray)));
    auto nulls = selectDoc(key(0));
    EXPECT_TRUE(nulls->Fields(QStringLiteral("Description")).isNull());
    EXPECT_TRUE(nulls->Fields(QStringLiteral("Data")).isNull());
    const QList<QByteArray> contents{QByteArray(""), QByteArray("\0a\0\xff\0", 5), randomBytes(LargestDocument / 4)};
    for (int i = 0; i < contents.size(); ++i) {
        insertDoc(key(i + 1), QStringLiteral(""), contents[i]);
        auto row = selectDoc(key(i + 1));
        EXPECT_FALSE(row->Fields(QStringLiteral("Description")).isNull()) << "content " << i;
        const QVariant back = row->Fields(QStringLiteral("DATA"));
        EXPECT_FALSE(back.isNull()) << "content " << i;
        EXPECT_EQ(back.toByteArray().size(), contents[i].size()) << "content " << i;
        EXPECT_TRUE(back.toByteArray() == contents[i]) << "content " << i;
    }
}

// Every statement's text is logged before it runs, refused ones too.
TEST_F(ConnectionTest, RefusedStatementRaisesDriverNumberAndText) {
    SqlLogCapture log;
    try {
        connection->Execute(QStringLiteral("SELECT * FROM NoSuchTable"));
        FAIL() << "no Error raised";
    } catch (const Error& error) {
        EXPECT_NE(error.number(), 0);
        EXPECT_TRUE(error.description().contains(QStringLiteral("nosuchtable"), Qt::CaseInsensitive))
            << error.description().toStdString();
    }
    connection->Execute(QStringLiteral("SELECT Name From Docs Where Sys_GUID = 'x'"));
    EXPECT_EQ(log.statements(), QStringList({QStringLiteral("SELECT * FROM NoSuchTable"),
                                             QStringLiteral("SELECT Name From Docs Where Sys_GUID = 'x'")}));
    connection->Close();
    EXPECT_THROW(connection->Execute(QStringLiteral("SELECT 1")), Error) << "closed";
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
    const QString select = QStringLiteral("SELECT Sys_PK, Description FROM Docs ORDER BY Sys_PK");
    Recordset rows;
    rows.Open(select, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic);
    EXPECT_EQ(rows.RecordCount(), 0);
    EXPECT_TRUE(rows.BOF() && rows.Eof());
    EXPECT_EQ(numberOf([&] { rows.Fields(QStringLiteral("Description")); }), Error::NoCurrentRecord);
    EXPECT_EQ(numberOf([&] { rows.Fields(QStringLiteral("Nope")); }), Error::ItemNotFound);
    rows.Close();

    for (int i = 1; i <= 3; ++i) insertDoc(key(i), QStringLiteral("d%1").arg(i), QByteArray("x"));
    rows.Open(select, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic);
    EXPECT_EQ(rows.State(), Recordset::adStateOpen);
    EXPECT_EQ(rows.RecordCount(), 3);
    EXPECT_FALSE(rows.BOF());
    QStringList seen;
    for (; !rows.Eof(); rows.MoveNext()) seen << rows.Fields(QStringLiteral("DESCRIPTION")).toString();
    EXPECT_EQ(seen, QStringList({QStringLiteral("d1"), QStringLiteral("d2"), QStringLiteral("d3")}));
    EXPECT_EQ(numberOf([&] { rows.Fields(QStringLiteral("Description")); }), Error::NoCurrentRecord);
    rows.Close();
    EXPECT_EQ(rows.State(), Recordset::adStateClosed);

    Recordset failed;
    EXPECT_THROW(failed.Open(QStringLiteral("SELECT * FROM Missing"), connection), Error);
    EXPECT_EQ(failed.State(), Recordset::adStateClosed);
    EXPECT_EQ(numberOf([&] { failed.RecordCount(); }), Error::ObjectClosed);
}

// The log shows each query as written, while the column left out never reaches the rows.
TEST_F(ConnectionTest, LeftOutColumnReadsNullWhateverTheQueryNamesIt) {
    insertDoc(key(1), QStringLiteral("d"), QByteArray("content"));
    const struct {
        QString sql;
        QString leftOut;
    } cases[] = {
        {QStringLiteral("Select storeout,Description,Data,TypeData From Docs Where Sys_PK =1"), QStringLiteral("data")},
        {QStringLiteral("SELECT * FROM Docs"), QStringLiteral("DATA")},
    };
    for (const auto& c : cases) {
        SqlLogCapture log;
        Recordset rows;
        rows.LeaveOut(c.leftOut);
        rows.Open(c.sql, connection, Recordset::adOpenKeyset);
        EXPECT_EQ(log.statements(), QStringList{c.sql});
        ASSERT_EQ(rows.RecordCount(), 1) << c.sql.toStdString();
        EXPECT_TRUE(rows.Fields(c.leftOut).isNull()) << c.sql.toStdString();
        EXPECT_EQ(rows.Fields(QStringLiteral("Description")).toString(), QStringLiteral("d")) << c.sql.toStdString();
    }
    Recordset unnamed;
    unnamed.LeaveOut(QStringLiteral("MiniData"));
    unnamed.Open(QStringLiteral("SELECT Data FROM Docs"), connection, Recordset::adOpenKeyset);
    EXPECT_EQ(unnamed.Fields(0).toByteArray(), QByteArray("content")) << "a column the query does not give";
}

TEST_F(ConnectionTest, TwoConnectionsShareOneDatabase) {
    auto other = Connection::Open(url());
    {
        Connection::Transaction writing(*connection);
        insertDoc(key(1), QStringLiteral("first"), QByteArray("x"));
        // A reader on the other connection is not blocked by the open write.
        EXPECT_NE(other->Execute(QStringLiteral("SELECT Name FROM Docs")), nullptr);
        writing.Commit();
    }
    other->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name) VALUES ('%1', 'second')").arg(key(2)));
    Recordset rows;
    rows.Open(QStringLiteral("SELECT Name FROM Docs"), connection, Recordset::adOpenStatic);
    EXPECT_EQ(rows.RecordCount(), 2);
    if (!onPostgreSql()) {
        auto mode = connection->Execute(QStringLiteral("PRAGMA journal_mode"));
        EXPECT_EQ(mode->Fields(0).toString(), QStringLiteral("wal"));
    }
}

TEST_F(ConnectionTest, TransactionsRollBackUnlessCommittedAndNestAsSavepoints) {
    const auto names = [&] {
        QStringList found;
        for (auto rows = connection->Execute(QStringLiteral("SELECT Description FROM Docs ORDER BY Sys_PK"));
             !rows->Eof(); rows->MoveNext())
            found << rows->Fields(0).toString();
        return found;
    };
    {
        Connection::Transaction abandoned(*connection);
        insertDoc(key(1), QStringLiteral("abandoned"), QByteArray("x"));
    }
    {
        Connection::Transaction outer(*connection);
        insertDoc(key(2), QStringLiteral("outer"), QByteArray("x"));
        {
            Connection::Transaction undone(*connection);
            insertDoc(key(3), QStringLiteral("undone"), QByteArray("x"));
        }
        {
            Connection::Transaction kept(*connection);
            insertDoc(key(4), QStringLiteral("inner"), QByteArray("x"));
            kept.Commit();
        }
        outer.Commit();
    }
    EXPECT_EQ(names(), QStringList({QStringLiteral("outer"), QStringLiteral("inner")}));
    {
        Connection::Transaction outer(*connection);
        Connection::Transaction inner(*connection);
        insertDoc(key(5), QStringLiteral("lost with the outer"), QByteArray("x"));
        inner.Commit();
    }
    EXPECT_EQ(names().size(), 2);
}

// BLOB streaming calls the SQLite library the component links on the connection's handle;
// that is sound only because the component opened that handle itself, whatever SQLite the Qt
// build's own driver carries.
TEST(ConnectionOpen, OpensSqliteItselfAndRejectsUnknownAddressesAndUnopenableFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("own.sqlite"));
    const QStringList qtConnections = QSqlDatabase::connectionNames();
    auto connection = Connection::Open(QStringLiteral("sqlite:") + path);
    EXPECT_EQ(QSqlDatabase::connectionNames(), qtConnections) << "no Qt SQL connection is made";
    EXPECT_EQ(QString::fromUtf8(sqlite3_db_filename(sqliteHandle(*connection), "main")),
              QFileInfo(path).absoluteFilePath());
    EXPECT_THROW(Connection::Open(QStringLiteral("mysql://x")), Error);
    EXPECT_THROW(Connection::Open(QStringLiteral("sqlite:/nonexistent-folder/x/y.sqlite")), Error);
}

// A host that only reads is told which file is missing, and no file appears.
TEST(ConnectionOpen, OpenExistingNeverCreatesASqliteFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("falta.sqlite"));
    for (const QString& url : {QStringLiteral("sqlite:") + path, QStringLiteral("sqlite:")}) {
        try {
            Connection::OpenExisting(url);
            ADD_FAILURE() << "opened " << url.toStdString();
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), Error::OpenFailed);
            EXPECT_TRUE(error.description().contains(url.mid(7))) << error.what();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    Connection::Open(QStringLiteral("sqlite:") + path);
    EXPECT_NO_THROW(Connection::OpenExisting(QStringLiteral("sqlite:") + path));
}

}  // namespace
