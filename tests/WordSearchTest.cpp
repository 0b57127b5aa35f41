#include "host/Schema.h"
#include "platform/Connection.h"
#include "repository/FindDocumentsByWords.h"
#include "support/RepositoryTest.h"

#include <QSet>
#include <algorithm>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class WordSearchTest : public RepositoryTest {
protected:
    QString store(const QString& name, const QString& type, const QString& description, const QString& keywords) {
        return manager->StoreDocumentAll(name, description, keywords, QString(),
                                         writeFile(name + QStringLiteral(".bin"), name.toUtf8()), type);
    }

    QStringList namesFound(const WordQuery& query) {
        QStringList names;
        for (const FoundDocument& found : FindDocumentsByWords(*connection, query)) names << found.name;
        return names;
    }

    QSet<QString> namesFound(const QString& words) {
        const QStringList names = namesFound(WordQuery{words});
        return {names.begin(), names.end()};
    }

    void insertPlainRow(const QString& key, const QString& name) {
        connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name) VALUES (?, ?)"), {key, name});
    }
};

TEST_F(WordSearchTest, FindsEveryWordAsAPrefixWhateverTheCaseAndAccents) {
    const QString contract = store(QStringLiteral("Contrato de obra"), QStringLiteral("pdf"),
                                   QStringLiteral("Camión grúa"), QStringLiteral("transporte"));
    const QString budget = store(QStringLiteral("Presupuesto"), QStringLiteral("txt"), QStringLiteral("ÑANDÚ y camion"),
                                 QString());
    store(QStringLiteral("Factura"), QStringLiteral("txt"), QString(), QStringLiteral("contratista"));
    link(Key(QStringLiteral("P")), contract);
    link(Key(QStringLiteral("Q")), budget);

    const std::pair<QString, QSet<QString>> cases[] = {
        {QStringLiteral("camion"), {QStringLiteral("Contrato de obra"), QStringLiteral("Presupuesto")}},
        {QStringLiteral("CAMIÓN"), {QStringLiteral("Contrato de obra"), QStringLiteral("Presupuesto")}},
        {QStringLiteral("contr"), {QStringLiteral("Contrato de obra"), QStringLiteral("Factura")}},
        {QStringLiteral("camion grua"), {QStringLiteral("Contrato de obra")}},
        {QStringLiteral("nandu"), {QStringLiteral("Presupuesto")}},
        {QStringLiteral("transporte factura"), {}},
        {QString(), {}},
        // Quotes, operators and signs are only text: they never break the query.
        {QStringLiteral("\"camion OR 'x' \\ - * ( NEAR"), {}},
        {QStringLiteral("\"camion\" - *"), {QStringLiteral("Contrato de obra"), QStringLiteral("Presupuesto")}},
    };
    for (const auto& [words, names] : cases) EXPECT_EQ(namesFound(words), names) << words.toStdString();

    EXPECT_EQ(namesFound(WordQuery{QStringLiteral("camion"), {Key(QStringLiteral("Q"))}}),
              QStringList{QStringLiteral("Presupuesto")});
    EXPECT_EQ(namesFound(WordQuery{QStringLiteral("camion"), {}, QStringLiteral("pdf")}),
              QStringList{QStringLiteral("Contrato de obra")});
    EXPECT_EQ(namesFound(WordQuery{QStringLiteral("camion"), {}, {}, 1}).size(), 1);
}

TEST_F(WordSearchTest, BestMatchesComeFirstWithTheirFields) {
    store(QStringLiteral("Informe"), QStringLiteral("txt"), QStringLiteral("menciona el camión una vez"),
          QStringLiteral("varios"));
    const QString best = store(QStringLiteral("Camión"), QStringLiteral("pdf"), QStringLiteral("camión, camión"),
                               QStringLiteral("camión"));
    const QString reference = storeUrl(QStringLiteral("Informe del camión en la red"),
                                       QStringLiteral("https://ejemplo.es/c"));
    const QList<FoundDocument> found = FindDocumentsByWords(*connection, WordQuery{QStringLiteral("camion")});
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[0].guid, best);
    EXPECT_GT(found[0].rank, found[1].rank);
    EXPECT_EQ(found[0].pk, pkOf(best));
    EXPECT_EQ(found[0].type, QStringLiteral("pdf"));
    EXPECT_EQ(found[0].keywords, QStringLiteral("camión"));
    EXPECT_FALSE(found[0].created.isEmpty());
    EXPECT_EQ(found[0].size, QStringLiteral("Camión").toUtf8().size());
    EXPECT_FALSE(found[0].outside);
    const auto outside = std::find_if(found.begin(), found.end(),
                                      [&](const FoundDocument& f) { return f.guid == reference; });
    ASSERT_NE(outside, found.end());
    EXPECT_TRUE(outside->outside);
    EXPECT_FALSE(outside->size);
}

// The index follows rows written with plain SQL, and an index added to an older database finds
// the rows it already held.
TEST_F(WordSearchTest, FollowsRowsWrittenWithPlainSqlAndIsAddedToAnOlderDatabase) {
    insertPlainRow(Key(QStringLiteral("A")), QStringLiteral("Acta de entrega"));
    EXPECT_EQ(namesFound(QStringLiteral("entrega")), QSet<QString>{QStringLiteral("Acta de entrega")});
    connection->Execute(QStringLiteral("UPDATE Docs SET Name = 'Acta de recepción' WHERE Sys_GUID = ?"),
                        {Key(QStringLiteral("A"))});
    EXPECT_TRUE(namesFound(QStringLiteral("entrega")).isEmpty());
    EXPECT_EQ(namesFound(QStringLiteral("recepcion")), QSet<QString>{QStringLiteral("Acta de recepción")});
    connection->Execute(QStringLiteral("DELETE FROM Docs"));
    EXPECT_TRUE(namesFound(QStringLiteral("acta")).isEmpty());

    const QStringList olderSchema = onPostgreSql() ? QStringList{QStringLiteral("DROP INDEX Docs_Words")}
                                                   : QStringList{QStringLiteral("DROP TRIGGER DocWords_Insert"),
                                                                 QStringLiteral("DROP TRIGGER DocWords_Update"),
                                                                 QStringLiteral("DROP TRIGGER DocWords_Delete"),
                                                                 QStringLiteral("DROP TABLE DocWordsPending"),
                                                                 QStringLiteral("DROP TABLE DocWords")};
    for (const QString& statement : olderSchema) connection->Execute(statement);
    insertPlainRow(Key(QStringLiteral("B")), QStringLiteral("Plano antiguo"));
    CreateSchema(*connection);
    EXPECT_EQ(namesFound(QStringLiteral("antiguo")), QSet<QString>{QStringLiteral("Plano antiguo")});
}

// On SQLite rows wait in a queue until the index takes them 64 at a time: a search finds each
// row once, whichever side it is on, and edits and deletions reach both sides.
TEST_F(WordSearchTest, FindsEveryRowOnceWhetherIndexedOrStillQueued) {
    const auto key = [](int n) { return Key(QStringLiteral("K%1").arg(n, 3, 10, QLatin1Char('0'))); };
    {
        Connection::Transaction transaction(*connection);
        for (int n = 1; n <= 300; ++n) insertPlainRow(key(n), QStringLiteral("Lote %1").arg(n));
        transaction.Commit();
    }
    // Rows 1 and 2 went into the index with the first 64; rows 299 and 300 are still queued.
    for (const int n : {1, 300})
        connection->Execute(QStringLiteral("UPDATE Docs SET Name = ? WHERE Sys_GUID = ?"),
                            {QStringLiteral("Remesa %1").arg(n), key(n)});
    for (const int n : {2, 299}) connection->Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {key(n)});

    if (!onPostgreSql()) {
        EXPECT_LT(rowCount(QStringLiteral("SELECT Sys_PK FROM DocWordsPending")), 64);
    }
    EXPECT_EQ(FindDocumentsByWords(*connection, WordQuery{QStringLiteral("lote")}).size(), 296);
    EXPECT_EQ(namesFound(QStringLiteral("remesa")),
              (QSet<QString>{QStringLiteral("Remesa 1"), QStringLiteral("Remesa 300")}));
    EXPECT_EQ(namesFound(WordQuery{QStringLiteral("lote 298")}), QStringList{QStringLiteral("Lote 298")});
}

}  // namespace
