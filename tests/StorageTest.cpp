#include "platform/Recordset.h"
#include "support/RepositoryTest.h"

#include <QRegularExpression>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

using StorageTest = RepositoryTest;

// The texts, location, content and miniature are read back by the add dialog's and fetching tests.
TEST_F(StorageTest, TypeComesFromTheExtensionAndAnOutsideDocumentKeepsNoMiniature) {
    const QString file = storeFile(QStringLiteral("Casa"), QStringLiteral("JPG"), QByteArray("jpg"));
    EXPECT_EQ(docRow(file)->value(QStringLiteral("TypeData")).toString(), QStringLiteral("JPG"));
    const QString mini = writeFile(QStringLiteral("mini.bmp"), QByteArray("BM"));
    const QString outside = manager->StoreDocument(QStringLiteral("Plano"), QString(), QString(), mini,
                                                   QStringLiteral("https://example.com/plano.dwg"), true);
    auto stored = docRow(outside);
    EXPECT_EQ(stored->value(QStringLiteral("TypeData")).toString(), QStringLiteral("dwg"));
    EXPECT_TRUE(stored->value(QStringLiteral("Data")).isNull());
    EXPECT_TRUE(stored->value(QStringLiteral("MiniData")).isNull());
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
    EXPECT_EQ(manager->lastErrCauses(), QStringList{QStringLiteral("ENOENT")}) << "kept for a program to read";
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
}

// Keys follow the order of storing, even within one millisecond, so that each goes at the end of
// the indexes kept in key order; they stay 32 hexadecimal capitals, a version 7 UUID's.
TEST_F(StorageTest, KeysFollowTheOrderOfStoring) {
    QStringList keys;
    for (int i = 0; i < 8; ++i) keys << storeFile(QStringLiteral("Orden%1").arg(i), QStringLiteral("txt"), "x");
    QStringList sorted = keys;
    sorted.sort();
    EXPECT_EQ(keys, sorted);
    const QRegularExpression form(QStringLiteral("^[0-9A-F]{12}7[0-9A-F]{3}[89AB][0-9A-F]{15}$"));
    for (const QString& key : keys) EXPECT_TRUE(form.match(key).hasMatch()) << key.toStdString();
}

// The connection remembers which tables it found; a table dropped on it is seen gone by the next
// store, which then records no digest rather than failing.
TEST_F(StorageTest, StoreSeesATableDroppedOnTheSameConnection) {
    EXPECT_FALSE(storeFile(QStringLiteral("Antes"), QStringLiteral("txt"), QByteArray("a")).isEmpty());
    connection->Execute(QStringLiteral("DROP TABLE DocDigests"));
    EXPECT_FALSE(storeFile(QStringLiteral("Despues"), QStringLiteral("txt"), QByteArray("b")).isEmpty())
        << messages.join(u'\n').toStdString();
}

TEST_F(StorageTest, RefusedSaveIsRecordedNotTold) {
    connection->Execute(QStringLiteral("DROP VIEW qryJoin"));
    connection->Execute(QStringLiteral("DROP TABLE Docs"));
    storeFile(QStringLiteral("Rechazado"), QStringLiteral("pdf"), QByteArray("x"));
    EXPECT_NE(manager->LastErr(), 0);
    EXPECT_TRUE(manager->LastErrDescrip().contains(QStringLiteral("docs"), Qt::CaseInsensitive))
        << manager->LastErrDescrip().toStdString();
    EXPECT_TRUE(messages.isEmpty()) << "a refused save is recorded, not told";
}

}  // namespace
