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

    QSet<QString> namesFound(const QString& words) {
        QSet<QString> names;
        for (const FoundDocument& found : findDocumentsByWords(*connection, WordQuery{words})) names << found.name;
        return names;
    }

    void insertPlainRow(const QString& key, const QString& name) {
        connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name) VALUES (?, ?)"), {key, name});
    }
};

TEST_F(WordSearchTest, FindsEveryWordAsAPrefixWhateverTheCaseAndAccents) {
    store(QStringLiteral("Contrato de obra"), QStringLiteral("pdf"), QStringLiteral("Camión grúa"),
          QStringLiteral("transporte"));
    store(QStringLiteral("Presupuesto"), QStringLiteral("txt"), QStringLiteral("ÑANDÚ y camion"), QString());
    store(QStringLiteral("Factura"), QStringLiteral("txt"), QString(), QStringLiteral("contratista"));

    const std::pair<QString, QSet<QString>> cases[] = {
        {QStringLiteral("CAMIÓN"), {QStringLiteral("Contrato de obra"), QStringLiteral("Presupuesto")}},
        {QStringLiteral("contr"), {QStringLiteral("Contrato de obra"), QStringLiteral("Factura")}},
        {QStringLiteral("nandu"), {QStringLiteral("Presupuesto")}},
        {QStringLiteral("transporte factura"), {}},
        {QString(), {}},
        // Quotes, operators and signs are only text: they never break the query.
        {QStringLiteral("\"camion OR 'x' \\ - * ( NEAR"), {}},
        {QStringLiteral("\"camion\" - *"), {QStringLiteral("Contrato de obra"), QStringLiteral("Presupuesto")}},
        // Control characters separate words as blanks do; a NUL would end the query's text.
        {QStringLiteral("camion") + QChar(0) + QStringLiteral("contr\x1b"), {QStringLiteral("Contrato de obra")}},
    };
    for (const auto& [words, names] : cases) EXPECT_EQ(namesFound(words), names) << words.toStdString();
}

TEST_F(WordSearchTest, BestMatchesComeFirstWithTheirFields) {
    store(QStringLiteral("Informe"), QStringLiteral("txt"), QStringLiteral("menciona el camión una vez"),
          QStringLiteral("varios"));
    const QString best = store(QStringLiteral("Camión"), QStringLiteral("pdf"), QStringLiteral("camión, camión"),
                               QStringLiteral("camión"));
    const QString reference = storeUrl(QStringLiteral("Informe del camión en la red"),
                                       QStringLiteral("https://ejemplo.es/c"));
    const QList<FoundDocument> found = findDocumentsByWords(*connection, WordQuery{QStringLiteral("camion")});
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[0].guid, best);
    EXPECT_EQ(found[0].pk, pkOf(best));
    EXPECT_EQ(found[0].type, QStringLiteral("pdf"));
    EXPECT_EQ(found[0].keywords, QStringLiteral("camión"));
    EXPECT_EQ(found[0].size, QStringLiteral("Camión").toUtf8().size());
    EXPECT_FALSE(found[0].outside);
    const auto outside = std::find_if(found.begin(), found.end(),
                                      [&](const FoundDocument& f) { return f.guid == reference; });
    ASSERT_NE(outside, found.end());
    EXPECT_TRUE(outside->outside);
    EXPECT_FALSE(outside->size);
}

// An index added to an older database finds the rows it already held. On SQLite an earlier kind
// of index, which read its words from Docs, is replaced, and the new one passes FTS5's check.
TEST_F(WordSearchTest, IndexAddedToAnOlderDatabaseFindsItsRows) {
    const QStringList olderSchema = onPostgreSql() ? QStringList{QStringLiteral("DROP INDEX Docs_Words")}
                                                   : QStringList{QStringLiteral("DROP TRIGGER DocWords_Insert"),
                                                                 QStringLiteral("DROP TRIGGER DocWords_Update"),
                                                                 QStringLiteral("DROP TRIGGER DocWords_Delete"),
                                                                 QStringLiteral("DROP TABLE DocWordsPending"),
                                                                 QStringLiteral("DROP TABLE DocWords")};
    for (const QString& statement : olderSchema) connection->Execute(statement);
    insertPlainRow(Key(QStringLiteral("B")), QStringLiteral("Plano antiguo"));
    createSchema(*connection);
    EXPECT_EQ(namesFound(QStringLiteral("antiguo")), QSet<QString>{QStringLiteral("Plano antiguo")});
    if (onPostgreSql()) return;

    for (const char* statement :
         {"DROP TABLE DocWords",
          "CREATE VIRTUAL TABLE DocWords USING fts5(Name, Description, Works, content='Docs', content_rowid='Sys_PK')",
          "INSERT INTO DocWords (DocWords) VALUES ('rebuild')"})
        connection->Execute(QString::fromLatin1(statement));
    createSchema(*connection);
    connection->Execute(QStringLiteral("DELETE FROM Docs"));
    insertPlainRow(Key(QStringLiteral("C")), QStringLiteral("Plano nuevo"));
    EXPECT_EQ(namesFound(QStringLiteral("plano")), QSet<QString>{QStringLiteral("Plano nuevo")});
    EXPECT_NO_THROW(
        connection->Execute(QStringLiteral("INSERT INTO DocWords (DocWords, rank) VALUES ('integrity-check', 1)")));
}

// On SQLite rows wait in a queue until the index takes them 64 at a time: a search finds each
// row once, whichever side it is on, and edits and deletions reach both sides.
TEST_F(WordSearchTest, FindsEveryRowOnceWhetherIndexedOrStillQueued) {
    const auto key = [](int n) { return Key(QStringLiteral("K%1").arg(n, 3, 10, QLatin1Char('0'))); };
    {
        Connection::Transaction transaction(*connection);
        for (int n = 1; n <= 300; ++n) insertPlainRow(key(n), QStringLiteral("Lote %1").arg(n));
        transaction.commit();
    }
    // Rows 1 and 2 went into the index with the first 64; rows 299 and 300 are still queued.
    for (const int n : {1, 300})
        connection->Execute(QStringLiteral("UPDATE Docs SET Name = ? WHERE Sys_GUID = ?"),
                            {QStringLiteral("Remesa %1").arg(n), key(n)});
    for (const int n : {2, 299}) connection->Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {key(n)});

    if (!onPostgreSql()) {
        EXPECT_LT(rowCount(QStringLiteral("SELECT Sys_PK FROM DocWordsPending")), 64);
    }
    EXPECT_EQ(findDocumentsByWords(*connection, WordQuery{QStringLiteral("lote")}).size(), 296);
    EXPECT_EQ(namesFound(QStringLiteral("remesa")),
              (QSet<QString>{QStringLiteral("Remesa 1"), QStringLiteral("Remesa 300")}));
    EXPECT_EQ(namesFound(QStringLiteral("lote 298")), QSet<QString>{QStringLiteral("Lote 298")});
}

// A host's INSERT OR REPLACE deletes the row it replaces without firing a delete trigger; the
// index still forgets that row's words, whether the new row keeps its key or only its GUID.
// FTS5's own check passes while rows wait in the queue, and the index can be made anew.
TEST_F(WordSearchTest, IndexForgetsReplacedRowsPassesItsCheckAndIsMadeAnewOnDemand) {
    const auto fill = [&](int count) {
        Connection::Transaction transaction(*connection);
        for (int n = 0; n < count; ++n) insertPlainRow(Key(QStringLiteral("R%1X").arg(n)), QStringLiteral("Relleno"));
        transaction.commit();
    };
    if (!onPostgreSql()) {
        const char* const replacements[] = {
            "INSERT OR REPLACE INTO Docs (Sys_PK, Sys_GUID, Name) VALUES (?, ?, 'Lechuga')",
            "INSERT OR REPLACE INTO Docs (Sys_GUID, Name) SELECT ?2, 'Lechuga' WHERE ?1 IS NOT NULL",
        };
        for (const char* replacement : replacements) {
            const QString key = Key(QStringLiteral("Pepino"));
            insertPlainRow(key, QStringLiteral("Pepino"));
            fill(64);  // the queue goes into the index with the row
            connection->Execute(QString::fromLatin1(replacement), {pkOf(key), key});
            EXPECT_EQ(namesFound(QStringLiteral("pepino")), QSet<QString>()) << replacement;
            EXPECT_EQ(namesFound(QStringLiteral("lechuga")), QSet<QString>{QStringLiteral("Lechuga")}) << replacement;
            EXPECT_GT(rowCount(QStringLiteral("SELECT Sys_PK FROM DocWordsPending")), 0);
            EXPECT_NO_THROW(connection->Execute(
                QStringLiteral("INSERT INTO DocWords (DocWords, rank) VALUES ('integrity-check', 1)")));
            connection->Execute(QStringLiteral("DELETE FROM Docs"));
        }
        // An index that lost its rows, as a damaged one would.
        insertPlainRow(Key(QStringLiteral("Pepino")), QStringLiteral("Pepino"));
        fill(64);
        connection->Execute(QStringLiteral("DELETE FROM DocWords"));
        EXPECT_EQ(namesFound(QStringLiteral("pepino")), QSet<QString>());
    } else {
        insertPlainRow(Key(QStringLiteral("Pepino")), QStringLiteral("Pepino"));
    }
    rebuildWordIndex(*connection);
    EXPECT_EQ(namesFound(QStringLiteral("pepino")), QSet<QString>{QStringLiteral("Pepino")});
}

}  // namespace
