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

using namespace Qt::StringLiterals;

namespace {

class RecordTest : public DatabaseTest {
protected:
    QString storeFile() {
        DefaultDocRecord record;
        record.SetADOCnn(connection);
        record.AddNew();
        record.SetName(u"Informe"_s);
        record.SetDescription(u"Informe anual"_s);
        record.SetWords(u"informe, anual"_s);
        record.SetTypeData(u"pdf"_s);
        record.Setstoreout(false);
        record.SetData(writeFile(u"content.pdf"_s, QByteArray("x")));
        record.SetMiniData(QString());
        EXPECT_TRUE(record.Update()) << record.LastErrDescrip().toStdString();
        return record.Sys_GUID();
    }
    std::shared_ptr<Recordset> row(const QString& guid) {
        return connection->Execute(u"SELECT * FROM Docs WHERE Sys_GUID = '%1'"_s.arg(guid));
    }
    qint32 count(const QString& relation) {
        Recordset rows;
        rows.Open(u"SELECT * FROM "_s + relation, connection, Recordset::adOpenStatic);
        return rows.RecordCount();
    }
};

TEST_F(RecordTest, EditingALoadedRowChangesItAndItsTimeStamp) {
    const QString guid = storeFile();
    const QString created = row(guid)->Fields(u"Sys_TimeStamp"_s).toString();
    QThread::msleep(20);
    DefaultDocRecord record;
    ASSERT_TRUE(record.LoadFromADOConnection(0, guid, connection, 1));
    record.SetDescription(QString());
    record.SetWords(u"nuevo"_s);
    ASSERT_TRUE(record.Update()) << record.LastErrDescrip().toStdString();
    auto edited = row(guid);
    EXPECT_EQ(edited->Fields(u"Description"_s).toString(), u""_s);
    EXPECT_EQ(edited->Fields(u"Works"_s).toString(), u"nuevo"_s);
    EXPECT_EQ(edited->Fields(u"Data"_s).toByteArray(), QByteArray("x"));
    EXPECT_NE(edited->Fields(u"Sys_TimeStamp"_s).toString(), created);
}

TEST_F(RecordTest, RefusalsAnswerFalseWithNumberAndText) {
    DefaultDocRecord record;
    record.SetADOCnn(connection);
    EXPECT_FALSE(record.Update()) << "nothing loaded";
    EXPECT_FALSE(record.Delete());
    EXPECT_NE(record.LastErr(), 0);

    // An unreadable content file is refused before anything is written.
    record.AddNew();
    EXPECT_THROW(record.SetData(folder() + u"/missing.pdf"_s), Error);
    const QString vanishing = writeFile(u"vanishing.pdf"_s, QByteArray("x"));
    record.SetData(vanishing);
    QFile::remove(vanishing);
    EXPECT_FALSE(record.Update());
    EXPECT_EQ(record.LastErr(), Error::FileFailed);
    EXPECT_EQ(count(u"Docs"_s), 0);

    ASSERT_TRUE(record.LoadFromADOConnection(0, storeFile(), connection));
    connection->Execute(u"DROP VIEW qryJoin"_s);
    connection->Execute(u"DROP TABLE Docs"_s);
    EXPECT_FALSE(record.Update());
    EXPECT_FALSE(record.Delete());
    EXPECT_NE(record.LastErr(), 0);
    EXPECT_TRUE(record.LastErrDescrip().contains(u"docs"_s, Qt::CaseInsensitive))
        << record.LastErrDescrip().toStdString();
}

TEST_F(RecordTest, LinkRecordInsertsRowsRefusesMalformedKeysAndOutlivesSchemaCreation) {
    const QString parent(32, QLatin1Char('P'));
    const QString guid = storeFile();
    DefaultLinkRecord link;
    link.SetADOCnn(connection);
    link.AddNew();
    link.SetFK_Parent(parent);
    link.SetFK_Doc(guid);
    link.SetTypeParent(u"Cliente"_s);
    link.SetSis(false);
    ASSERT_TRUE(link.Update()) << link.LastErrDescrip().toStdString();
    auto joined = connection->Execute(u"SELECT * From qryJoin Where FK_Parent ='%1'"_s.arg(parent));
    ASSERT_FALSE(joined->Eof());
    EXPECT_EQ(joined->Fields(u"Name"_s).toString(), u"Informe"_s);
    EXPECT_EQ(joined->Fields(u"sis"_s).toInt(), 0);
    EXPECT_EQ(connection->Execute(u"Select TypeParent From DocLinks Where FK_Parent ='%1'"_s.arg(parent))
                  ->Fields(u"TypeParent"_s)
                  .toString(),
              u"Cliente"_s);

    link.AddNew();
    link.SetFK_Parent(parent.left(31));
    link.SetFK_Doc(guid);
    EXPECT_FALSE(link.Update());
    EXPECT_NE(link.LastErr(), 0);
    EXPECT_EQ(count(u"DocLink"_s), 1);

    CreateSchema(*connection);
    EXPECT_EQ(count(u"Docs"_s), 1) << "creating the schema again keeps what is there";
    EXPECT_EQ(count(u"qryJoin"_s), 1);
}

}  // namespace
