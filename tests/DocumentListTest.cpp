#include "component/Globals.h"
#include "platform/Error.h"
#include "repository/FillDocumentList.h"
#include "repository/MemoryDocumentList.h"
#include "repository/SqlTexts.h"
#include "support/RepositoryTest.h"

#include <functional>

using namespace dorvanel;
using namespace dorvanel::test;

using namespace Qt::StringLiterals;

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
        {u"A"_s, false, {}, false, u"SELECT * From qryJoin Where FK_Parent ='A' and sis <>0"_s},
        {u"A"_s, true, u"pdf"_s, true, u"SELECT * From qryJoin Where FK_Parent ='A' and TypeData='pdf' and sis =0"_s},
        {u"A,B"_s, false, u"pdf"_s, true,
         u"SELECT * From qryJoin Where FK_Parent ='A' or FK_Parent ='B' and TypeData='pdf' and sis =0"_s},
        {u"A, B,"_s, false, {}, false,
         u"SELECT * From qryJoin Where FK_Parent ='A' or FK_Parent =' B' or FK_Parent ='' and sis <>0"_s},
        {{}, false, u"doc"_s, true, u"SELECT * From qryJoin Where TypeData='doc'"_s},
        {{}, false, {}, false, u"SELECT * From qryJoin"_s},
        {{}, true, {}, true,
         u"SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid From Docs"_s},
        {{}, true, u"x'y"_s, false,
         QStringLiteral("SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid From Docs "
                        "Where TypeData='x''y'")},
        {u"O'B"_s, false, {}, false, u"SELECT * From qryJoin Where FK_Parent ='O''B' and sis <>0"_s},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(SqlTexts::documentList(c.parents, c.fromDocs, c.type, c.noSys), c.expected)
            << c.expected.toStdString();
}

TEST(ArrayBounds, OfListsAndOfOtherValues) {
    EXPECT_EQ(ArrayLowerBound(QStringList{u"a"_s, u"b"_s}), 0);
    EXPECT_EQ(ArrayUpperBound(QStringList{u"a"_s, u"b"_s}), 1);
    EXPECT_EQ(ArrayUpperBound(QStringList()), -1);
    EXPECT_EQ(ArrayUpperBound(QVariantList{1, u"b"_s, 3}), 2);
    EXPECT_EQ(ArrayUpperBound(QVariant::fromValue(QList<int>{1, 2})), 1);
    EXPECT_EQ(ArrayUpperBound(u"a,b"_s), 0);
    EXPECT_EQ(ArrayUpperBound(QVariant()), 0);
    EXPECT_THROW(ArrayUpperBound(QStringList(40000)), Error);
}

TEST(MemoryDocumentList, KnowsItsKeysAsTheKeySubItemChanges) {
    MemoryDocumentList list(8);
    const qint32 first = list.Add(u"Primero"_s);
    EXPECT_FALSE(IsDocumentListed(list, 0)) << "an empty key is not key 0";
    list.SetSubItem(first, 6, u"0"_s);
    list.SetSubItem(first, 8, u"1"_s);
    EXPECT_EQ(list.SubItem(first, 8), QString()) << "past the list's columns";
    EXPECT_TRUE(IsDocumentListed(list, 0));
    const qint32 second = list.Add(u"Segundo"_s);
    list.SetSubItem(second, 6, u"0"_s);
    list.SetSubItem(first, 6, u"7"_s);
    EXPECT_TRUE(IsDocumentListed(list, 0)) << "the second item still carries it";
    EXPECT_TRUE(IsDocumentListed(list, 7));
    list.SetSubItem(second, 6, QString());
    list.SetSubItem(first, 6, u"7a"_s);
    EXPECT_FALSE(IsDocumentListed(list, 0));
    EXPECT_FALSE(IsDocumentListed(list, 7));
    list.SetSubItem(first, 6, u"43"_s);
    list.Clear();
    EXPECT_FALSE(IsDocumentListed(list, 43));
    EXPECT_EQ(list.Count(), 0);
}

TEST(MemoryDocumentList, RowsFromTheDatabaseKeepOnlyTheListsColumns) {
    const QByteArrayView subItems[] = {"Descripción", "pdf", "t", "c", "w", "42", "guid", "1"};
    for (const qint32 columns : {1, 6, 7, 8, 9}) {
        MemoryDocumentList list(columns);
        const qint32 item = list.AddRowUtf8("Doc", subItems);
        EXPECT_EQ(list.Text(item), u"Doc"_s);
        for (qint32 sub = 1; sub <= 8; ++sub)
            EXPECT_EQ(list.SubItem(item, sub), sub < columns ? QString::fromUtf8(subItems[sub - 1]) : QString())
                << columns << " columns, sub-item " << sub;
        EXPECT_EQ(IsDocumentListed(list, 42), columns > 6) << columns;
    }
}

TEST(MemoryDocumentList, KeepsEveryTextOfALongList) {
    const QString longText(40000, QLatin1Char('x'));  // more than the first blocks hold
    auto textOf = [&](qint32 n) { return n == 1000 ? longText : u"Año %1"_s.arg(n); };
    MemoryDocumentList list;
    constexpr qint32 Items = 3000;
    for (qint32 n = 1; n <= Items; ++n) list.SetSubItem(list.Add(QString::number(n)), 1, textOf(n));
    ASSERT_EQ(list.Count(), Items);
    qint32 wrong = 0;
    for (qint32 n = 1; n <= Items; ++n)
        wrong += list.Text(n) != QString::number(n) || list.SubItem(n, 1) != textOf(n) || !list.SubItem(n, 2).isNull();
    EXPECT_EQ(wrong, 0);
    EXPECT_THROW(list.Text(Items + 1), Error);
    EXPECT_THROW(list.SetSubItem(0, 1, u"x"_s), Error);
}

class DocumentListTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        if (!manager) return;
        contract = storeFile(u"Contrato"_s, u"pdf"_s, QByteArray("c"));
        photo = storeFile(u"Foto"_s, u"jpg"_s, QByteArray("f"));
        hidden = storeFile(u"Interno"_s, u"pdf"_s, QByteArray("i"));
        link(parentA, contract);
        link(parentB, contract);
        link(parentA, photo);
        link(parentA, hidden, u"Cliente"_s, false);
    }
    QStringList names(const DocumentList& list) {
        QStringList shown;
        for (qint32 i = 1; i <= list.Count(); ++i) shown << list.Text(i);
        shown.sort();
        return shown;
    }
    QString contract, photo, hidden;
    const QString parentA = Key(u"A"_s);
    const QString parentB = Key(u"B"_s);
};

TEST_F(DocumentListTest, ListsEachDocumentOnceWithItsKeysInSubItems) {
    MemoryDocumentList list;
    FillDocumentList(parentB + QLatin1Char(',') + parentA, list, false, QString(), QString(), false);
    // The sis test binds to the last parent only, so the hidden link of A stays out while the
    // contract, linked to both, appears once.
    EXPECT_EQ(names(list), QStringList({u"Contrato"_s, u"Foto"_s}));
    for (qint32 i = 1; i <= list.Count(); ++i) {
        const bool isContract = list.Text(i) == QLatin1String("Contrato");
        const QString guid = isContract ? contract : photo;
        QStringList subItems;
        for (qint32 sub = 1; sub <= 8; ++sub) subItems << list.SubItem(i, sub);
        EXPECT_EQ(subItems.mid(0, 2),
                  QStringList({u"Descripción de "_s + list.Text(i), isContract ? u"pdf"_s : u"jpg"_s}));
        EXPECT_EQ(subItems.mid(4), QStringList({u"clave"_s, QString::number(pkOf(guid)), guid, u"1"_s}));
        EXPECT_FALSE(list.SubItem(i, 3).isEmpty() || list.SubItem(i, 4).isEmpty()) << "time stamps";
    }
}

TEST_F(DocumentListTest, ChoosesByParentsTypeAndSis) {
    storeFile(u"Suelto"_s, u"pdf"_s, QByteArray("s"));
    const QStringList linked{u"Contrato"_s, u"Foto"_s, u"Interno"_s};
    const struct {
        QString parents;
        bool fromDocs;
        QString type;
        bool noSys;
        QStringList expected;
    } cases[] = {
        // The sis condition binds to the last parent only, and the parents are split without trimming.
        {parentA + u',' + parentB, false, {}, false, linked},
        {parentA, false, {}, true, {u"Interno"_s}},
        {u" "_s + parentA, false, {}, false, {}},
        {parentB + u',', false, {}, false, {u"Contrato"_s}},
        {u"%1, %2"_s.arg(parentB, parentA), false, {}, false, {u"Contrato"_s}},
        // Without parents: every document, or every link once, hidden ones too.
        {{}, true, {}, true, linked + QStringList{u"Suelto"_s}},
        {{}, false, {}, false, linked},
        {{}, true, u"jpg"_s, false, {u"Foto"_s}},
    };
    MemoryDocumentList list;
    for (const auto& c : cases) {
        FillDocumentList(c.parents, list, c.fromDocs, c.type, u"ignorado"_s, c.noSys);
        EXPECT_EQ(names(list), c.expected) << c.parents.toStdString() << " from Docs " << c.fromDocs;
        for (qint32 i = 1; c.fromDocs && i <= list.Count(); ++i) EXPECT_EQ(list.SubItem(i, 8), QString()) << "no Sis";
    }
    connection->Execute(u"UPDATE Docs SET Description = NULL, Works = NULL"_s);
    FillDocumentList(QString(), list, true, u"jpg"_s, QString(), false);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(QStringList({list.SubItem(1, 1), list.SubItem(1, 5), list.SubItem(1, 7)}), QStringList({{}, {}, photo}))
        << "a NULL leaves its sub-item empty";
}

// A failing statement, a missing connection and a missing Manager each leave the list empty.
TEST_F(DocumentListTest, WhatCannotBeReadLeavesTheListEmpty) {
    MemoryDocumentList list;
    const std::pair<const char*, std::function<void()>> breakages[] = {
        {"failing statement", [&] { connection->Execute(u"DROP VIEW qryJoin"_s); }},
        {"no connection", [&] { manager->SetADOCnn(nullptr); }},
        {"no Manager",
         [&] {
             manager.reset();
             gManager.reset();
         }},
    };
    for (const auto& [what, breakage] : breakages) {
        list.Add(u"old"_s);
        breakage();
        FillDocumentList(parentA, list, false, QString(), QString(), false);
        EXPECT_EQ(list.Count(), 0) << what;
    }
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
