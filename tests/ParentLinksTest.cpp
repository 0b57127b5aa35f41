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

// Not even the parent type is looked up, and LastErr keeps what it held.
TEST_F(ParentLinksTest, KeysOfAnyOtherLengthAreRefusedBeforeReachingTheDatabase) {
    link(parentA, document);
    manager->SetLastErr(7);
    SqlLogCapture log;
    for (const QString& parent : {parentA.left(31), parentA + QLatin1Char('0')}) {
        EXPECT_FALSE(manager->AddLink(parent, document, QStringLiteral("Cliente")));
        EXPECT_FALSE(manager->AddLink(parent, document));
    }
    for (const QString& guid : {document.left(31), document + QLatin1Char('0'), QString()}) {
        EXPECT_FALSE(manager->AddLink(parentA, guid, QStringLiteral("Cliente")));
        EXPECT_EQ(manager->GetParentList(guid), QVariant(QStringLiteral("")));
    }
    EXPECT_EQ(log.statements(), QStringList());
    EXPECT_EQ(manager->LastErr(), 7);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1);
}

TEST_F(ParentLinksTest, MissingTypeIsCopiedFromTheParentsOtherLinksOrRecordedAsMinus99) {
    EXPECT_FALSE(manager->AddLink(parentB, document));
    EXPECT_EQ(manager->LastErr(), -99);
    EXPECT_EQ(manager->LastErrDescrip(), QStringLiteral("No existe ParentType"));
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 0);

    link(parentA, document, QStringLiteral("Proveedor"));
    const QString second = storeFile(QStringLiteral("Anexo"), QStringLiteral("pdf"), QByteArray("y"));
    SqlLogCapture log;
    ASSERT_TRUE(manager->AddLink(parentA, second));
    EXPECT_EQ(log.statements().value(0),
              QStringLiteral("Select TypeParent From DocLinks Where FK_Parent ='") + parentA + "'");
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink WHERE TypeParent = 'Proveedor' AND Sis = 1")), 2);
    EXPECT_EQ(manager->LastErr(), -99) << "a later success leaves the failure";
}

TEST_F(ParentLinksTest, DeleteLinkRemovesEveryRowOfThePairOnlyAndPassesFailuresOn) {
    link(parentA, document);
    link(parentA, document);
    link(parentB, document);
    SqlLogCapture log;
    EXPECT_TRUE(manager->DeleteLink(parentA, document));
    EXPECT_EQ(log.statements().value(0), QStringLiteral("DELETE FROM DocLink WHERE FK_Parent ='") + parentA +
                                             QStringLiteral("' and FK_Doc ='") + document + "'");
    // What follows seals the record of the deletion, in a transaction of its own.
    EXPECT_EQ(log.statements().value(1), QStringLiteral("BEGIN IMMEDIATE").left(onPostgreSql() ? 5 : 15));
    for (const QString& statement : log.statements().mid(2, log.statements().size() - 3))
        EXPECT_TRUE(statement.contains(QLatin1String("DocAudit")) || statement.contains(QLatin1String("advisory")))
            << statement.toStdString();
    EXPECT_FALSE(manager->DeleteLink(parentA, document));
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 1);

    connection->Execute(QStringLiteral("DROP VIEW qryJoin"));
    connection->Execute(QStringLiteral("DROP VIEW DocLinks"));
    connection->Execute(QStringLiteral("DROP TABLE DocLink"));
    EXPECT_THROW(manager->DeleteLink(parentA, document), Error);
}

// The list is split from "KEY;KEY;", and is the empty string itself when there is nothing to split.
TEST_F(ParentLinksTest, ParentListEndsWithOneEmptyStringOrIsTheEmptyString) {
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

    const QString unlinked = storeFile(QStringLiteral("Suelto"), QStringLiteral("pdf"), QByteArray("z"));
    EXPECT_EQ(manager->GetParentList(unlinked), QVariant(QStringLiteral("")));
    connection->close();
    EXPECT_EQ(manager->GetParentList(document), QVariant(QStringLiteral(""))) << "a failure gives the empty string";
}

TEST_F(ParentLinksTest, ApostrophesInKeysAreDoubledAndChangeNothing) {
    const QString quoted = QStringLiteral("O'Brien' or '1'='1").leftJustified(32, QLatin1Char('x'));
    link(parentA, document);
    SqlLogCapture log;
    EXPECT_FALSE(manager->AddLink(quoted, document));
    EXPECT_FALSE(manager->DeleteLink(quoted, document));
    const QString doubled = QStringLiteral("'O''Brien'' or ''1''=''1xxxxxxxxxxxxxx'");
    EXPECT_EQ(log.statements(),
              QStringList({QStringLiteral("Select TypeParent From DocLinks Where FK_Parent =") + doubled,
                           QStringLiteral("DELETE FROM DocLink WHERE FK_Parent =") + doubled +
                               QStringLiteral(" and FK_Doc ='") + document + "'"}));
    EXPECT_EQ(manager->LastErr(), -99);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 1);
}

}  // namespace
