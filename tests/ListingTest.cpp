#include "platform/Connection.h"
#include "repository/ListDocuments.h"
#include "support/RepositoryTest.h"
#include "support/SqlLogCapture.h"

#include <QDateTime>
#include <QRegularExpression>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class ListingTest : public RepositoryTest {
protected:
    QStringList namesListed(const ListingQuery& query) {
        QStringList names;
        const DocumentListing listing = listDocuments(*connection, query);
        for (const ListedDocument& document : listing.documents()) names << QString::fromUtf8(document.name);
        return names;
    }
};

QString inOrder(const QStringList& names) { return names.join(QLatin1Char(' ')); }

// Every link is the system's but AMano's. Within one parent the order is the engine's, so no
// case below depends on it.
TEST_F(ListingTest, FiltersEveryParentAlikeAndListsEachDocumentOnceInTheOrderFirstFound) {
    const QString a = Key(QStringLiteral("A")), b = Key(QStringLiteral("B")), c = Key(QStringLiteral("C"));
    const QString both = storeFile(QStringLiteral("Ambos"), QStringLiteral("txt"), "ab");
    const QString onlyC = storeFile(QStringLiteral("SoloC"), QStringLiteral("pdf"), "c");
    const QString onlyB = storeFile(QStringLiteral("SoloB"), QStringLiteral("pdf"), "b");
    const QString byHand = storeFile(QStringLiteral("AMano"), QStringLiteral("pdf"), "m");
    storeUrl(QStringLiteral("Suelto"), QStringLiteral("https://ejemplo.es/s"));
    link(a, both);
    link(b, onlyB);
    link(c, both);
    link(c, onlyC);
    link(b, byHand, QStringLiteral("Cliente"), false);

    const struct {
        ListingQuery query;
        const char* names;
    } cases[] = {
        {{}, "Ambos SoloC SoloB AMano Suelto"},
        {{{}, QStringLiteral("pdf")}, "SoloC SoloB AMano"},
        {{{a}}, "Ambos"},
        {{{b, a}}, "SoloB Ambos"},
        {{{a, b}}, "Ambos SoloB"},
        {{{a, c, a}}, "Ambos SoloC"},
        {{{a, b, c}, QStringLiteral("pdf")}, "SoloB SoloC"},
        {{{a, b}, {}, true}, "AMano"},
        {{{Key(QStringLiteral("N"))}}, ""},
    };
    for (const auto& [query, names] : cases) {
        const DocumentListing listing = listDocuments(*connection, query);
        QStringList listed;
        for (const ListedDocument& document : listing.documents()) listed << QString::fromUtf8(document.name);
        EXPECT_EQ(inOrder(listed), QString::fromUtf8(names)) << query.parents.join(',').toStdString();
        EXPECT_EQ(listing.throughLinks(), !query.parents.isEmpty());
    }
    ListingQuery linked;
    linked.linkedOnly = true;
    QStringList names = namesListed(linked);
    names.sort();
    EXPECT_EQ(inOrder(names), QStringLiteral("AMano Ambos SoloB SoloC"));
}

// Times carry their offset from UTC (SQLite's stored local time given this machine's), and each
// document its size without its content and whether it is an outside reference.
TEST_F(ListingTest, GivesKeysSizesOutsideFlagSisAndTimesWithTheirOffset) {
    const QString parent = Key(QStringLiteral("P"));
    const QString file = storeFile(QStringLiteral("Ñandú"), QStringLiteral("bin"), QByteArray(1000, '\xff'));
    const QString reference = storeUrl(QStringLiteral("Enlace"), QStringLiteral("https://ejemplo.es/e"));
    link(parent, file);
    link(parent, reference, QStringLiteral("Cliente"), false);
    ListingQuery query;
    query.readOnlySnapshot = true;
    const DocumentListing all = listDocuments(*connection, query);
    ASSERT_EQ(all.documents().size(), 2);
    const ListedDocument& stored = all.documents()[0];
    const ListedDocument& outside = all.documents()[1];
    EXPECT_TRUE(stored.pk == pkOf(file) && stored.guid == file.toUtf8() &&
                stored.name == QStringLiteral("Ñandú").toUtf8() && stored.type == "bin" && stored.size == 1000 &&
                !stored.outside);
    EXPECT_TRUE(outside.outside && !outside.size);
    const QRegularExpression iso(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}([+-]\\d\\d:\\d\\d)$"));
    for (const QByteArrayView time : {stored.created, stored.timestamp, outside.created}) {
        const QRegularExpressionMatch match = iso.match(QString::fromUtf8(time));
        const QDateTime when = QDateTime::fromString(QString::fromUtf8(time), Qt::ISODateWithMs);
        EXPECT_TRUE(match.hasMatch() && std::abs(when.secsTo(QDateTime::currentDateTime())) < 600)
            << time.toByteArray().toStdString();
        if (!onPostgreSql()) {
            EXPECT_EQ(when.offsetFromUtc(), when.toLocalTime().offsetFromUtc()) << time.toByteArray().toStdString();
        }
    }

    query.parents = {parent};
    query.noSys = true;
    const DocumentListing byHand = listDocuments(*connection, query);
    ASSERT_EQ(byHand.documents().size(), 1);
    EXPECT_TRUE(byHand.documents()[0].guid == reference.toUtf8() && !byHand.documents()[0].sis);
    query.noSys = false;
    const DocumentListing throughAll = listDocuments(*connection, query);
    EXPECT_TRUE(throughAll.documents().value(0).sis);
}

// More parents than SQLite binds in one statement (32,766 as built by default, 250,000 as
// Debian builds it): the list is split, and the parents keep their order across the statements.
TEST_F(ListingTest, ParentListLongerThanTheEnginesLimitIsSplitAndKeepsItsOrder) {
    const QString early = Key(QStringLiteral("E")), late = Key(QStringLiteral("L"));
    link(early, storeFile(QStringLiteral("Temprano"), QStringLiteral("txt"), "t"));
    link(late, storeFile(QStringLiteral("Tardio"), QStringLiteral("txt"), "t"));
    ListingQuery query;
    for (int n = 0; n < 250100; ++n) query.parents << QStringLiteral("K%1").arg(n, 31, 10, QLatin1Char('0'));
    query.parents[40] = late;
    query.parents[250050] = early;
    query.readOnlySnapshot = true;
    SqlLogCapture log;
    EXPECT_EQ(inOrder(namesListed(query)), QStringLiteral("Tardio Temprano"));
    EXPECT_GT(log.statements().size(), 2);
}

// A read-only transaction reads one state of the database, whatever another connection commits
// meanwhile, and holds no lock that would keep that writer waiting.
TEST_F(ListingTest, ReadOnlyTransactionReadsOneStateWhileAnotherConnectionWrites) {
    storeFile(QStringLiteral("Antes"), QStringLiteral("txt"), "a");
    const std::shared_ptr<Connection> writer = Connection::open(url());
    {
        Connection::Transaction reading(*connection, Connection::Access::ReadOnly);
        EXPECT_EQ(namesListed({}), QStringList{QStringLiteral("Antes")});
        writer->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name) VALUES (?, ?)"),
                        {Key(QStringLiteral("D")), QStringLiteral("Durante")});
        EXPECT_EQ(namesListed({}), QStringList{QStringLiteral("Antes")});
        reading.commit();
    }
    EXPECT_EQ(inOrder(namesListed({})), QStringLiteral("Antes Durante"));
}

}  // namespace
