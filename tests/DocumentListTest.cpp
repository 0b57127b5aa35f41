#include "component/Globals.h"
#include "platform/Error.h"
#include "repository/FillDocumentList.h"
#include "repository/MemoryDocumentList.h"
#include "repository/SqlTexts.h"
#include "support/RepositoryTest.h"

#include <functional>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

TEST(DocumentListStatement, IsBuiltFromParentsTypeAndSis) {
    // One case a row.
    // clang-format off
    const struct {
        QString parents;
        bool fromDocs;
        QString type;
        bool noSys;
        QString expected;
    } cases[] = {
        {QStringLiteral("A"), false, {}, false, QStringLiteral("SELECT * From qryJoin Where FK_Parent ='A' and sis <>0")},
        {QStringLiteral("A"), true, QStringLiteral("pdf"), true, QStringLiteral("SELECT * From qryJoin Where FK_Parent ='A' and TypeData='pdf' and sis =0")},
        {QStringLiteral("A,B"), false, QStringLiteral("pdf"), true,
         QStringLiteral("SELECT * From qryJoin Where FK_Parent ='A' or FK_Parent ='B' and TypeData='pdf' and sis =0")},
        {QStringLiteral("A, B,"), false, {}, false,
         QStringLiteral("SELECT * From qryJoin Where FK_Parent ='A' or FK_Parent =' B' or FK_Parent ='' and sis <>0")},
        {{}, false, QStringLiteral("doc"), true, QStringLiteral("SELECT * From qryJoin Where TypeData='doc'")},
        {{}, false, {}, false, QStringLiteral("SELECT * From qryJoin")},
        {{}, true, {}, true,
         QStringLiteral("SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid From Docs")},
        {{}, true, QStringLiteral("x'y"), false,
         QStringLiteral("SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid From Docs "
                        "Where TypeData='x''y'")},
        {QStringLiteral("O'B"), false, {}, false, QStringLiteral("SELECT * From qryJoin Where FK_Parent ='O''B' and sis <>0")},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(SqlTexts::documentList(c.parents, c.fromDocs, c.type, c.noSys), c.expected)
            << c.expected.toStdString();
}

TEST(ArrayBounds, OfListsAndOfOtherValues) {
    EXPECT_EQ(ArrayLowerBound(QStringList{QStringLiteral("a"), QStringLiteral("b")}), 0);
    EXPECT_EQ(ArrayUpperBound(QStringList{QStringLiteral("a"), QStringLiteral("b")}), 1);
    EXPECT_EQ(ArrayUpperBound(QStringList()), -1);
    EXPECT_EQ(ArrayUpperBound(QVariantList{1, QStringLiteral("b"), 3}), 2);
    EXPECT_EQ(ArrayUpperBound(QVariant::fromValue(QList<int>{1, 2})), 1);
    EXPECT_EQ(ArrayUpperBound(QStringLiteral("a,b")), 0);
    EXPECT_EQ(ArrayUpperBound(QVariant()), 0);
    EXPECT_THROW(ArrayUpperBound(QStringList(40000)), Error);
}

TEST(MemoryDocumentList, KnowsItsKeysAsTheKeySubItemChanges) {
    MemoryDocumentList list(8);
    const qint32 first = list.Add(QStringLiteral("Primero"));
    EXPECT_FALSE(IsDocumentListed(list, 0)) << "an empty key is not key 0";
    list.SetSubItem(first, 6, QStringLiteral("0"));
    list.SetSubItem(first, 8, QStringLiteral("1"));
    EXPECT_EQ(list.SubItem(first, 8), QString()) << "past the list's columns";
    EXPECT_TRUE(IsDocumentListed(list, 0));
    const qint32 second = list.Add(QStringLiteral("Segundo"));
    list.SetSubItem(second, 6, QStringLiteral("0"));
    list.SetSubItem(first, 6, QStringLiteral("7"));
    EXPECT_TRUE(IsDocumentListed(list, 0)) << "the second item still carries it";
    EXPECT_TRUE(IsDocumentListed(list, 7));
    list.SetSubItem(second, 6, QString());
    list.SetSubItem(first, 6, QStringLiteral("7a"));
    EXPECT_FALSE(IsDocumentListed(list, 0));
    EXPECT_FALSE(IsDocumentListed(list, 7));
    list.SetSubItem(first, 6, QStringLiteral("43"));
    list.Clear();
    EXPECT_FALSE(IsDocumentListed(list, 43));
    EXPECT_EQ(list.Count(), 0);
}

TEST(MemoryDocumentList, RowsFromTheDatabaseKeepOnlyTheListsColumns) {
    const QByteArrayView subItems[] = {"Descripción", "pdf", "t", "c", "w", "42", "guid", "1"};
    for (const qint32 columns : {1, 6, 7, 8, 9}) {
        MemoryDocumentList list(columns);
        const qint32 item = list.AddRowUtf8("Doc", subItems);
        EXPECT_EQ(list.Text(item), QStringLiteral("Doc"));
        for (qint32 sub = 1; sub <= 8; ++sub)
            EXPECT_EQ(list.SubItem(item, sub), sub < columns ? QString::fromUtf8(subItems[sub - 1]) : QString())
                << columns << " columns, sub-item " << sub;
        EXPECT_EQ(IsDocumentListed(list, 42), columns > 6) << columns;
    }
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
        hidden = storeFile(QStringLiteral("Interno"), QStringLiteral("pdf"), QByteArray("i"));
        link(parentA, contract);
        link(parentB, contract);
        link(parentA, photo);
        link(parentA, hidden, QStringLiteral("Cliente"), false);
    }
    QStringList names(const DocumentList& list) {
        QStringList shown;
        for (qint32 i = 1; i <= list.Count(); ++i) shown << list.Text(i);
        shown.sort();
        return shown;
    }
    QString contract, photo, hidden;
    const QString parentA = Key(QStringLiteral("A"));
    const QString parentB = Key(QStringLiteral("B"));
};

TEST_F(DocumentListTest, ListsEachDocumentOnceWithItsKeysInSubItems) {
    MemoryDocumentList list;
    FillDocumentList(parentB + QLatin1Char(',') + parentA, list, false, QString(), QString(), false);
    // The sis test binds to the last parent only, so the hidden link of A stays out while the
    // contract, linked to both, appears once.
    EXPECT_EQ(names(list), QStringList({QStringLiteral("Contrato"), QStringLiteral("Foto")}));
    for (qint32 i = 1; i <= list.Count(); ++i) {
        const bool isContract = list.Text(i) == QLatin1String("Contrato");
        const QString guid = isContract ? contract : photo;
        QStringList subItems;
        for (qint32 sub = 1; sub <= 8; ++sub) subItems << list.SubItem(i, sub);
        EXPECT_EQ(subItems.mid(0, 2), QStringList({QStringLiteral("Descripción de ") + list.Text(i),
                                                   isContract ? QStringLiteral("pdf") : QStringLiteral("jpg")}));
        EXPECT_EQ(subItems.mid(4),
                  QStringList({QStringLiteral("clave"), QString::number(pkOf(guid)), guid, QStringLiteral("1")}));
        EXPECT_FALSE(list.SubItem(i, 3).isEmpty() || list.SubItem(i, 4).isEmpty()) << "time stamps";
    }
}

TEST_F(DocumentListTest, ChoosesByParentsTypeAndSis) {
    storeFile(QStringLiteral("Suelto"), QStringLiteral("pdf"), QByteArray("s"));
    const QStringList linked{QStringLiteral("Contrato"), QStringLiteral("Foto"), QStringLiteral("Interno")};
    const struct {
        QString parents;
        bool fromDocs;
        QString type;
        bool noSys;
        QStringList expected;
    } cases[] = {
        // The sis condition binds to the last parent only, and the parents are split without trimming.
        {parentA + u',' + parentB, false, {}, false, linked},
        {parentA, false, {}, true, {QStringLiteral("Interno")}},
        {QStringLiteral(" ") + parentA, false, {}, false, {}},
        {parentB + u',', false, {}, false, {QStringLiteral("Contrato")}},
        {QStringLiteral("%1, %2").arg(parentB, parentA), false, {}, false, {QStringLiteral("Contrato")}},
        // Without parents: every document, or every link once, hidden ones too.
        {{}, true, {}, true, linked + QStringList{QStringLiteral("Suelto")}},
        {{}, false, {}, false, linked},
        {{}, true, QStringLiteral("jpg"), false, {QStringLiteral("Foto")}},
    };
    MemoryDocumentList list;
    for (const auto& c : cases) {
        FillDocumentList(c.parents, list, c.fromDocs, c.type, QStringLiteral("ignorado"), c.noSys);
        EXPECT_EQ(names(list), c.expected) << c.parents.toStdString() << " from Docs " << c.fromDocs;
        for (qint32 i = 1; c.fromDocs && i <= list.Count(); ++i) EXPECT_EQ(list.SubItem(i, 8), QString()) << "no Sis";
    }
    connection->Execute(QStringLiteral("UPDATE Docs SET Description = NULL, Works = NULL"));
    FillDocumentList(QString(), list, true, QStringLiteral("jpg"), QString(), false);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(QStringList({list.SubItem(1, 1), list.SubItem(1, 5), list.SubItem(1, 7)}), QStringList({{}, {}, photo}))
        << "a NULL leaves its sub-item empty";
}

// A failing statement, a missing connection and a missing Manager each leave the list empty.
TEST_F(DocumentListTest, WhatCannotBeReadLeavesTheListEmpty) {
    MemoryDocumentList list;
    const std::pair<const char*, std::function<void()>> breakages[] = {
        {"failing statement", [&] { connection->Execute(QStringLiteral("DROP VIEW qryJoin")); }},
        {"no connection", [&] { manager->SetADOCnn(nullptr); }},
        {"no Manager",
         [&] {
             manager.reset();
             gManager.reset();
         }},
    };
    for (const auto& [what, breakage] : breakages) {
        list.Add(QStringLiteral("old"));
        breakage();
        FillDocumentList(parentA, list, false, QString(), QString(), false);
        EXPECT_EQ(list.Count(), 0) << what;
    }
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
