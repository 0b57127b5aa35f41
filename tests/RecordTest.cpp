#include "host/DefaultDocRecord.h"
#include "host/DefaultLinkRecord.h"
#include "host/Schema.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QThread>

using namespace dorvanel;
using dorvanel::test::DatabaseTest;

namespace {

class RecordTest : public DatabaseTest {
protected:
    QString storeFile() {
        DefaultDocRecord record;
        record.SetADOCnn(connection);
        record.AddNew();
        record.SetName(QStringLiteral("Informe"));
        record.SetDescription(QStringLiteral("Informe anual"));
        record.SetWords(QStringLiteral("informe, anual"));
        record.SetTypeData(QStringLiteral("pdf"));
        record.Setstoreout(false);
        record.SetData(writeFile(QStringLiteral("content.pdf"), QByteArray("x")));
        record.SetMiniData(QString());
        EXPECT_TRUE(record.Update()) << record.LastErrDescrip().toStdString();
        return record.Sys_GUID();
    }
};

TEST_F(RecordTest, EditingALoadedRowChangesItAndItsTimeStamp) {
    const QString guid = storeFile();
    const QString created = docRow(guid)->Fields(QStringLiteral("Sys_TimeStamp")).toString();
    QThread::msleep(20);
    DefaultDocRecord record;
    ASSERT_TRUE(record.LoadFromADOConnection(0, guid, connection, 1));
    record.SetDescription(QString());
    record.SetWords(QStringLiteral("nuevo"));
    ASSERT_TRUE(record.Update()) << record.LastErrDescrip().toStdString();
    auto edited = docRow(guid);
    EXPECT_EQ(edited->Fields(QStringLiteral("Description")).toString(), QStringLiteral(""));
    EXPECT_EQ(edited->Fields(QStringLiteral("Works")).toString(), QStringLiteral("nuevo"));
    EXPECT_EQ(edited->Fields(QStringLiteral("Data")).toByteArray(), QByteArray("x"));
    EXPECT_NE(edited->Fields(QStringLiteral("Sys_TimeStamp")).toString(), created);
}

TEST_F(RecordTest, RefusalsAnswerFalseWithNumberAndText) {
    DefaultDocRecord record;
    record.SetADOCnn(connection);
    EXPECT_FALSE(record.Update()) << "nothing loaded";
    EXPECT_FALSE(record.Delete());
    EXPECT_NE(record.LastErr(), 0);

    // An unreadable content file is refused before anything is written.
    record.AddNew();
    EXPECT_THROW(record.SetData(folder() + QStringLiteral("/missing.pdf")), Error);
    const QString vanishing = writeFile(QStringLiteral("vanishing.pdf"), QByteArray("x"));
    record.SetData(vanishing);
    QFile::remove(vanishing);
    EXPECT_FALSE(record.Update());
    EXPECT_EQ(record.LastErr(), Error::FileFailed);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);

    ASSERT_TRUE(record.LoadFromADOConnection(0, storeFile(), connection));
    connection->Execute(QStringLiteral("DROP VIEW qryJoin"));
    connection->Execute(QStringLiteral("DROP TABLE Docs"));
    EXPECT_FALSE(record.Update());
    EXPECT_FALSE(record.Delete());
    EXPECT_NE(record.LastErr(), 0);
    EXPECT_TRUE(record.LastErrDescrip().contains(QStringLiteral("docs"), Qt::CaseInsensitive))
        << record.LastErrDescrip().toStdString();
}

// The link's columns reaching the views are checked through AddLink; here, what the table refuses.
TEST_F(RecordTest, LinkRecordRefusesMalformedKeysAndTheSchemaOutlivesItsCreation) {
    const QString guid = storeFile();
    DefaultLinkRecord link;
    link.SetADOCnn(connection);
    for (const QString& parent : {QString(32, QLatin1Char('P')), QString(31, QLatin1Char('P'))}) {
        link.AddNew();
        link.SetFK_Parent(parent);
        link.SetFK_Doc(guid);
        link.SetTypeParent(QStringLiteral("Cliente"));
        EXPECT_EQ(link.Update(), parent.size() == 32) << link.LastErrDescrip().toStdString();
    }
    EXPECT_NE(link.LastErr(), 0);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1);

    CreateSchema(*connection);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 1) << "creating the schema again keeps what is there";
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM qryJoin WHERE Name = 'Informe'")), 1);
}

}  // namespace
