#include "host/DefaultDocRecord.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "support/RepositoryTest.h"

#include <QFile>
#include <QThread>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

using RecordTest = RepositoryTest;

// What the edit dialog writes is checked through it; here, what an edit must leave or change besides.
TEST_F(RecordTest, EditingALoadedRowKeepsItsContentAndChangesItsTimeStamp) {
    const QString guid = storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("x"));
    const QString created = docRow(guid)->value(QStringLiteral("Sys_TimeStamp")).toString();
    QThread::msleep(20);
    DefaultDocRecord record;
    ASSERT_TRUE(record.LoadFromADOConnection(0, guid, connection, 1));
    record.SetWords(QStringLiteral("nuevo"));
    ASSERT_TRUE(record.Update()) << record.LastErrDescrip().toStdString();
    auto edited = docRow(guid);
    EXPECT_EQ(edited->value(QStringLiteral("Works")).toString(), QStringLiteral("nuevo"));
    EXPECT_EQ(edited->value(QStringLiteral("Data")).toByteArray(), QByteArray("x"));
    EXPECT_NE(edited->value(QStringLiteral("Sys_TimeStamp")).toString(), created);
}

TEST_F(RecordTest, ContentFileThatVanishedBeforeTheSaveIsRefused) {
    DefaultDocRecord record;
    record.SetADOCnn(connection);
    // An unreadable content file is refused before anything is written.
    record.AddNew();
    EXPECT_THROW(record.SetData(folder() + QStringLiteral("/missing.pdf")), Error);
    const QString vanishing = writeFile(QStringLiteral("vanishing.pdf"), QByteArray("x"));
    record.SetData(vanishing);
    QFile::remove(vanishing);
    EXPECT_FALSE(record.Update());
    EXPECT_EQ(record.LastErr(), Error::FileFailed);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
}

}  // namespace
