#include "host/Schema.h"
#include "platform/Recordset.h"
#include "support/RepositoryTest.h"

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

using StorageTest = RepositoryTest;

// The content and miniature themselves are read back by the fetching tests.
TEST_F(StorageTest, FileDocumentKeepsItsTextsAndTheTypeFromTheExtension) {
    const QString guid = storeFile(QStringLiteral("Casa"), QStringLiteral("JPG"), QByteArray("\xff\xd8\0jpg", 6),
                                   QByteArray("BMmini"));
    ASSERT_EQ(guid.length(), 32);
    auto stored = docRow(guid);
    EXPECT_EQ(stored->Fields(QStringLiteral("Name")).toString(), QStringLiteral("Casa"));
    EXPECT_EQ(stored->Fields(QStringLiteral("Description")).toString(), QStringLiteral("Descripción de Casa"));
    EXPECT_EQ(stored->Fields(QStringLiteral("Works")).toString(), QStringLiteral("clave"));
    EXPECT_EQ(stored->Fields(QStringLiteral("TypeData")).toString(), QStringLiteral("JPG"));
    EXPECT_EQ(stored->Fields(QStringLiteral("storeout")).toInt(), 0);
    EXPECT_TRUE(oskel->calls.first().startsWith(QStringLiteral("FileExtension ")));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(StorageTest, OutsideDocumentStoresItsLocationAndNoMiniature) {
    const QString mini = writeFile(QStringLiteral("mini.bmp"), QByteArray("BM"));
    const QString guid = manager->StoreDocument(QStringLiteral("Plano"), QString(), QString(), mini,
                                                QStringLiteral("https://example.com/plano.dwg"), true);
    auto stored = docRow(guid);
    EXPECT_EQ(stored->Fields(QStringLiteral("storeout")).toInt(), 1);
    EXPECT_EQ(stored->Fields(QStringLiteral("urlfile")).toString(), QStringLiteral("https://example.com/plano.dwg"));
    EXPECT_EQ(stored->Fields(QStringLiteral("TypeData")).toString(), QStringLiteral("dwg"));
    EXPECT_TRUE(stored->Fields(QStringLiteral("Data")).isNull());
    EXPECT_TRUE(stored->Fields(QStringLiteral("MiniData")).isNull());
}

TEST_F(StorageTest, StoreDocumentAllTakesTheTypeAsGiven) {
    const QString file = writeFile(QStringLiteral("acta.pdf"), QByteArray("pdf"));
    for (const QString& type : {QString(), QStringLiteral("docx")}) {
        const QString guid = manager->StoreDocumentAll(QStringLiteral("Acta"), QString(), QString(), QString(), file,
                                                       type);
        EXPECT_EQ(docRow(guid)->Fields(QStringLiteral("TypeData")).toString(), type);
    }
    EXPECT_TRUE(oskel->calls.filter(QStringLiteral("FileExtension")).isEmpty());
}

TEST_F(StorageTest, RaisedFailureIsToldAndGivesNoKey) {
    manager->SetLastErr(5);
    const QString guid = manager->StoreDocument(QStringLiteral("Falta"), QString(), QString(), QString(),
                                                folder() + QStringLiteral("/no-such-file.pdf"));
    EXPECT_TRUE(guid.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("no-such-file.pdf")));
    EXPECT_TRUE(messages[0].endsWith(QStringLiteral("|0|"))) << "style 0 with no title of its own";
    EXPECT_EQ(manager->LastErr(), 5);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
}

TEST_F(StorageTest, RefusedSaveIsRecordedAndAnOlderFailureIsNeverCleared) {
    connection->Execute(QStringLiteral("DROP VIEW qryJoin"));
    connection->Execute(QStringLiteral("DROP TABLE Docs"));
    storeFile(QStringLiteral("Rechazado"), QStringLiteral("pdf"), QByteArray("x"));
    EXPECT_NE(manager->LastErr(), 0);
    EXPECT_TRUE(manager->LastErrDescrip().contains(QStringLiteral("docs"), Qt::CaseInsensitive))
        << manager->LastErrDescrip().toStdString();
    EXPECT_TRUE(messages.isEmpty()) << "a refused save is recorded, not told";

    const qint32 refusal = manager->LastErr();
    CreateSchema(*connection);
    EXPECT_EQ(storeFile(QStringLiteral("Aceptado"), QStringLiteral("pdf"), QByteArray("x")).length(), 32);
    EXPECT_EQ(manager->LastErr(), refusal);
}

}  // namespace
