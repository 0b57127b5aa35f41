#include "component/Globals.h"
#include "platform/Error.h"
#include "repository/FillDocumentList.h"
#include "repository/MemoryDocumentList.h"
#include "repository/SqlTexts.h"
#include "support/RepositoryTest.h"

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

TEST(DocumentListStatement, IsBuiltFromParentsTypeAndSis) {
    // One case a row. The parents are split without trimming, and the type and sis conditions
    // bind to the last parent only.
    // clang-format off
    const struct {
        QString parents;
        bool fromDocs;
        QString type;
        bool noSys;
        QString expected;
    } cases[] = {
        {QStringLiteral("O'B"), false, {}, false, QStringLiteral("SELECT * From qryJoin Where FK_Parent ='O''B' and sis <>0")},
        {QStringLiteral("A, B,"), true, QStringLiteral("pdf"), true,
         QStringLiteral("SELECT * From qryJoin Where FK_Parent ='A' or FK_Parent =' B' or FK_Parent ='' and TypeData='pdf' and sis =0")},
        {{}, false, QStringLiteral("doc"), true, QStringLiteral("SELECT * From qryJoin Where TypeData='doc'")},
        {{}, false, {}, false, QStringLiteral("SELECT * From qryJoin")},
        {{}, true, QStringLiteral("x'y"), false,
         QStringLiteral("SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid From Docs "
                        "Where TypeData='x''y'")},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(SqlTexts::documentList(c.parents, c.fromDocs, c.type, c.noSys), c.expected)
            << c.expected.toStdString();
    // As many parents as the 16-bit bound reaches, each named once, the last one too.
    const QString most = QStringList(32768, QStringLiteral("K")).join(QLatin1Char(','));
    EXPECT_EQ(SqlTexts::documentList(most, false, {}, false).count(QStringLiteral("FK_Parent ='K'")), 32768);
}

TEST(MemoryDocumentList, KnowsItsKeysAsTheKeySubItemChanges) {
    MemoryDocumentList list(8);
    const qint32 first = list.Add(QStringLiteral("Primero"));
    const qint32 second = list.Add(QStringLiteral("Segundo"));
    EXPECT_FALSE(IsDocumentListed(list, 0)) << "an empty key is not key 0";
    list.SetSubItem(first, 6, QStringLiteral("0"));
    list.SetSubItem(second, 6, QStringLiteral("0"));
    list.SetSubItem(first, 6, QStringLiteral("7"));
    EXPECT_TRUE(IsDocumentListed(list, 0)) << "the second item still carries it";
    EXPECT_TRUE(IsDocumentListed(list, 7));
    list.SetSubItem(second, 6, QString());
    list.SetSubItem(first, 6, QStringLiteral("7a"));
    EXPECT_FALSE(IsDocumentListed(list, 0) || IsDocumentListed(list, 7));
}

TEST(MemoryDocumentList, KeepsEveryTextOfALongList) {
    const QString longText(40000, QLatin1Char('x'));  // more than the first blocks hold
    auto textOf = [&](qint32 n) { return n == 1000 ? longText : QStringLiteral("Año %1").arg(n); };
    MemoryDocumentList list;
    constexpr qint32 Items = 3000;
    for (qint32 n = 1; n <= Items; ++n) list.SetSubItem(list.Add(QString::number(n)), 1, textOf(n));
    ASSERT_EQ(list.Count(), Items);
    qint32 wrong = 0;
    for (qint32 n = 1; n <= Items; ++n)
        wrong += list.Text(n) != QString::number(n) || list.SubItem(n, 1) != textOf(n) || !list.SubItem(n, 2).isNull();
    EXPECT_EQ(wrong, 0);
    EXPECT_THROW(list.Text(Items + 1), Error);
    EXPECT_THROW(list.SetSubItem(0, 1, QStringLiteral("x")), Error);
}

class DocumentListTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        if (!manager) return;
        contract = storeFile(QStringLiteral("Contrato"), QStringLiteral("pdf"), QByteArray("c"));
        photo = storeFile(QStringLiteral("Foto"), QStringLiteral("jpg"), QByteArray("f"));
        const QString hidden = storeFile(QStringLiteral("Interno"), QStringLiteral("pdf"), QByteArray("i"));
        link(parentA, contract);
        link(parentB, contract);
        link(parentA, photo);
        link(parentA, hidden, QStringLiteral("Cliente"), false);
    }
    static QStringList names(const DocumentList& list) {
        QStringList shown;
        for (qint32 i = 1; i <= list.Count(); ++i) shown << list.Text(i);
        shown.sort();
        return shown;
    }
    static QStringList subItems(const DocumentList& list, qint32 item) {
        QStringList texts;
        for (qint32 sub = 1; sub <= 8; ++sub) texts << list.SubItem(item, sub);
        return texts;
    }
    QString contract, photo;
    const QString parentA = Key(QStringLiteral("A"));
    const QString parentB = Key(QStringLiteral("B"));
};

// Each document is listed once, however many of its links the statement finds.
TEST_F(DocumentListTest, ChoosesByParentsTypeAndSisAndListsEachDocumentOnce) {
    storeFile(QStringLiteral("Suelto"), QStringLiteral("pdf"), QByteArray("s"));
    const QStringList linked{QStringLiteral("Contrato"), QStringLiteral("Foto"), QStringLiteral("Interno")};
    const QStringList shown{QStringLiteral("Contrato"), QStringLiteral("Foto")};
    const struct {
        QString parents;
        bool fromDocs;
        QString type;
        bool noSys;
        QStringList expected;
    } cases[] = {
        // The sis condition binds to the last parent only.
        {parentA + u',' + parentB, false, {}, false, linked},
        {parentB + u',' + parentA, false, {}, false, shown},
        {parentA, false, {}, true, {QStringLiteral("Interno")}},
        // Without parents: every document, or every link once, hidden ones too.
        {{}, true, {}, true, linked + QStringList{QStringLiteral("Suelto")}},
        {{}, false, {}, false, linked},
    };
    MemoryDocumentList list;
    for (const auto& c : cases) {
        FillDocumentList(c.parents, list, c.fromDocs, c.type, QStringLiteral("ignorado"), c.noSys);
        EXPECT_EQ(names(list), c.expected) << c.parents.toStdString() << " from Docs " << c.fromDocs;
    }

    // A NULL leaves its sub-item empty, and Sis is shown only for a link.
    connection->Execute(QStringLiteral("UPDATE Docs SET Description = NULL, Works = NULL"));
    FillDocumentList(QString(), list, true, QStringLiteral("jpg"), QString(), false);
    ASSERT_EQ(list.Count(), 1);
    const QStringList fromDocs = subItems(list, 1);
    EXPECT_EQ(QStringList({fromDocs[0], fromDocs[4], fromDocs[6], fromDocs[7]}), QStringList({{}, {}, photo, {}}));
}

// The dialogs' statement names every parent in one expression, which SQLite limits in depth.
TEST_F(DocumentListTest, ListsAsManyParentsAsTheEngineTakesInOneStatement) {
    const qsizetype most = mostListedParents(*connection);
    QStringList parents{parentA};
    while (parents.size() < std::min<qsizetype>(most, 2000)) parents << Key(QString::number(parents.size()));
    MemoryDocumentList list;
    FillDocumentList(parents.join(u','), list, false, QString(), QString(), false);
    EXPECT_EQ(list.Count(), 3) << parents.size() << " parents";
    if (parents.size() < most) return;
    parents << parentB;
    FillDocumentList(parents.join(u','), list, false, QString(), QString(), false);
    EXPECT_EQ(list.Count(), 0) << "one parent more than " << most;
}

TEST_F(DocumentListTest, WhatCannotBeReadLeavesTheListEmpty) {
    MemoryDocumentList list;
    const auto expectEmptied = [&](const char* why) {
        list.Add(QStringLiteral("old"));
        FillDocumentList(parentA, list, false, QString(), QString(), false);
        EXPECT_EQ(list.Count(), 0) << why;
    };
    connection->Execute(QStringLiteral("DROP VIEW qryJoin"));
    expectEmptied("failing statement");
    manager->SetADOCnn(nullptr);
    expectEmptied("no connection");
    manager.reset();
    gManager.reset();
    expectEmptied("no Manager");
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
