#include "platform/Error.h"
#include "support/RepositoryTest.h"
#include "support/SqlLogCapture.h"

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class ParentLinksTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        if (!manager) return;
        document = storeFile(QStringLiteral("Contrato"), QStringLiteral("pdf"), QByteArray("x"));
    }
    QString document;
    const QString parentA = Key(QStringLiteral("A"));
    const QString parentB = Key(QStringLiteral("B"));
};

TEST_F(ParentLinksTest, KeysOfAnyOtherLengthAreRefusedWithoutTouchingLastErr) {
    manager->SetLastErr(7);
    for (const QString& parent : {parentA.left(31), parentA + QLatin1Char('0')})
        EXPECT_FALSE(manager->AddLink(parent, document, QStringLiteral("Cliente")));
    EXPECT_FALSE(manager->AddLink(parentA, document.left(31), QStringLiteral("Cliente")));
    EXPECT_EQ(manager->LastErr(), 7);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 0);
}

TEST_F(ParentLinksTest, KeysOfAnyOtherLengthNeverReachTheDatabase) {
    link(parentA, document);
    SqlLogCapture log;
    for (const QString& parent : {parentA.left(31), parentA + QLatin1Char('0')}) {
        EXPECT_FALSE(manager->AddLink(parent, document, QStringLiteral("Cliente")));
        EXPECT_FALSE(manager->AddLink(parent, document)) << "not even the parent type is looked up";
    }
    EXPECT_FALSE(manager->AddLink(parentA, document.left(31), QStringLiteral("Cliente")));
    EXPECT_FALSE(manager->AddLink(parentA, document + QLatin1Char('0'), QStringLiteral("Cliente")));
    for (const QString& guid : {document.left(31), document + QLatin1Char('0'), QString()})
        EXPECT_EQ(manager->GetParentList(guid), QVariant(QStringLiteral("")));
    EXPECT_EQ(log.statements(), QStringList()) << "no statement reaches the database";
}

TEST_F(ParentLinksTest, MissingTypeIsCopiedFromTheParentsOtherLinks) {
    link(parentA, document, QStringLiteral("Proveedor"));
    const QString second = storeFile(QStringLiteral("Anexo"), QStringLiteral("pdf"), QByteArray("y"));
    SqlLogCapture log;
    ASSERT_TRUE(manager->AddLink(parentA, second));
    EXPECT_EQ(log.statements().first(),
              QStringLiteral("Select TypeParent From DocLinks Where FK_Parent ='") + parentA + "'");
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink WHERE TypeParent = 'Proveedor' AND Sis = 1")), 2);
}

TEST_F(ParentLinksTest, ParentWithoutLinksAndWithoutTypeIsRecordedAsMinus99) {
    EXPECT_FALSE(manager->AddLink(parentB, document));
    EXPECT_EQ(manager->LastErr(), -99);
    EXPECT_EQ(manager->LastErrDescrip(), QStringLiteral("No existe ParentType"));
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 0);
    link(parentA, document);
    EXPECT_EQ(manager->LastErr(), -99) << "a later success leaves the failure";
}

TEST_F(ParentLinksTest, DeleteLinkRemovesEveryRowOfThePairOnly) {
    link(parentA, document);
    link(parentA, document);
    link(parentB, document);
    SqlLogCapture log;
    EXPECT_TRUE(manager->DeleteLink(parentA, document));
    EXPECT_EQ(log.statements(), QStringList{QStringLiteral("DELETE FROM DocLink WHERE FK_Parent ='") + parentA +
                                            QStringLiteral("' and FK_Doc ='") + document + "'"});
    EXPECT_FALSE(manager->DeleteLink(parentA, document));
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 1);
}

TEST_F(ParentLinksTest, DeleteLinkPassesFailuresOn) {
    connection->Execute(QStringLiteral("DROP VIEW qryJoin"));
    connection->Execute(QStringLiteral("DROP VIEW DocLinks"));
    connection->Execute(QStringLiteral("DROP TABLE DocLink"));
    EXPECT_THROW(manager->DeleteLink(parentA, document), Error);
}

TEST_F(ParentLinksTest, ParentListEndsWithOneEmptyString) {
    link(parentA, document);
    link(parentB, document);
    SqlLogCapture log;
    const QStringList parents = manager->GetParentList(document).toStringList();
    EXPECT_EQ(log.statements(),
              QStringList{QStringLiteral("Select Sys_GUID,Fk_Parent From qryJoin Where Sys_GUID = '") + document +
                          "'"});
    ASSERT_EQ(parents.size(), 3);
    EXPECT_TRUE(parents.contains(parentA) && parents.contains(parentB));
    EXPECT_EQ(parents[2], QString());
}

TEST_F(ParentLinksTest, NoParentsGiveTheEmptyStringNotAnEmptyList) {
    const QString other = storeFile(QStringLiteral("Suelto"), QStringLiteral("pdf"), QByteArray("z"));
    for (const QString& key : {other, other.left(31), QString()}) {
        const QVariant parents = manager->GetParentList(key);
        EXPECT_EQ(parents.typeId(), QMetaType::QString);
        EXPECT_EQ(parents.toString(), QString());
    }
    connection->Close();
    EXPECT_EQ(manager->GetParentList(document).toString(), QString()) << "a failure gives the empty string";
}

TEST_F(ParentLinksTest, ApostrophesInKeysAreDoubledAndChangeNothing) {
    const QString quoted = QStringLiteral("O'Brien' or '1'='1").leftJustified(32, QLatin1Char('x'));
    link(parentA, document);
    SqlLogCapture log;
    EXPECT_FALSE(manager->AddLink(quoted, document));
    EXPECT_FALSE(manager->DeleteLink(quoted, document));
    EXPECT_EQ(log.statements()[0],
              QStringLiteral(
                  "Select TypeParent From DocLinks Where FK_Parent ='O''Brien'' or ''1''=''1xxxxxxxxxxxxxx'"));
    EXPECT_EQ(manager->LastErr(), -99);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1);
}

}  // namespace
