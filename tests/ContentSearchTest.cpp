#include "host/Schema.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/DocumentText.h"
#include "repository/FindDocumentsByWords.h"
#include "support/RepositoryTest.h"

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class ContentSearchTest : public RepositoryTest {
protected:
    QString store(const QString& name, const QString& text, const QString& keywords = {}) {
        const QString guid = manager->StoreDocumentAll(name, QString(), keywords, QString(),
                                                       writeFile(name + QStringLiteral(".txt"), name.toUtf8()),
                                                       QStringLiteral("txt"));
        if (!text.isNull()) storeDocumentText(*connection, guid, text);
        return guid;
    }

    QList<FoundDocument> search(const QString& words, int limit = 0) {
        return findDocumentsByWords(*connection, WordQuery{words, {}, {}, limit});
    }

    // The names found, best first, each with "*" when found only through its text.
    QStringList found(const QString& words, int limit = 0) {
        QStringList names;
        for (const FoundDocument& document : search(words, limit))
            names << document.name + (document.inContentOnly ? QStringLiteral("*") : QString());
        return names;
    }

    int textRows() { return rowCount(QStringLiteral("SELECT Sys_PK FROM DocText")); }

    void checkIndex() {
        if (onPostgreSql()) return;
        EXPECT_NO_THROW(connection->Execute(
            QStringLiteral("INSERT INTO DocTextWords (DocTextWords, rank) VALUES ('integrity-check', 1)")));
    }
};

TEST_F(ContentSearchTest, FindsTheWordsOfTheTextAloneOrWithTheFields) {
    store(QStringLiteral("Albarán"), QStringLiteral("El camión de la GRÚA llegó a Cádiz con ÑANDÚES."));
    store(QStringLiteral("Factura"), QString());  // no text: found by its name only

    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("camion"), {QStringLiteral("Albarán*")}},
        {QStringLiteral("CAMIÓN grua"), {QStringLiteral("Albarán*")}},
        {QStringLiteral("cadi nandu"), {QStringLiteral("Albarán*")}},
        // One word in the name, the other only in the text.
        {QStringLiteral("albaran llego"), {QStringLiteral("Albarán*")}},
        {QStringLiteral("albaran"), {QStringLiteral("Albarán")}},
        {QStringLiteral("albaran zanahoria"), {}},
        {QStringLiteral("factura camion"), {}},
        {QStringLiteral("factura"), {QStringLiteral("Factura")}},
        // The content query's own syntax is only text in the words.
        {QStringLiteral("\"camion\" NOT Fields : ( *"), {}},
    };
    for (const auto& [words, names] : cases) EXPECT_EQ(found(words), names) << words.toStdString();
    checkIndex();
}

// Every document matched in its fields comes before those matched only through their text,
// however often the text says the word; the limit counts both.
TEST_F(ContentSearchTest, FieldMatchesRankAboveTextMatchesAndOnlyTheseHaveASnippet) {
    store(QStringLiteral("Informe"), QStringLiteral("camión ").repeated(50) + QStringLiteral("y otras cosas"));
    store(QStringLiteral("Camión rojo"), QString());
    store(QStringLiteral("Ficha"), QStringLiteral("habla del camión"), QStringLiteral("camión"));

    const QList<FoundDocument> documents = search(QStringLiteral("camion"));
    ASSERT_EQ(documents.size(), 3);
    EXPECT_EQ(documents[2].name, QStringLiteral("Informe"));
    EXPECT_TRUE(documents[2].inContentOnly);
    EXPECT_TRUE(documents[2].snippet.contains(QStringLiteral("[camión]"))) << documents[2].snippet.toStdString();
    for (const FoundDocument& document : documents.first(2)) {
        EXPECT_FALSE(document.inContentOnly) << document.name.toStdString();
        EXPECT_TRUE(document.snippet.isEmpty()) << document.name.toStdString();
    }
    EXPECT_EQ(found(QStringLiteral("camion"), 2).size(), 2);
    EXPECT_EQ(found(QStringLiteral("camion"), 3).last(), QStringLiteral("Informe*"));
    // Filters apply to the documents found through their text too, limit or not.
    for (const int limit : {0, 3}) {
        EXPECT_EQ(findDocumentsByWords(*connection,
                                       WordQuery{QStringLiteral("camion"), {}, QStringLiteral("txt"), limit})
                      .size(),
                  3);
        EXPECT_TRUE(
            findDocumentsByWords(*connection, WordQuery{QStringLiteral("camion"), {}, QStringLiteral("pdf"), limit})
                .isEmpty());
    }
}

// Snippets are read in pieces of a few hundred documents: a search without a limit has them all.
TEST_F(ContentSearchTest, EveryDocumentFoundHasItsSnippetHoweverMany) {
    {
        Connection::Transaction transaction(*connection);
        for (int n = 0; n < 1200; ++n) {
            const QString key = Key(QStringLiteral("S%1X").arg(n, 4, 10, QLatin1Char('0')));
            connection->Execute(QStringLiteral(
                                    "INSERT INTO Docs (Sys_GUID, Name, storeout, Data) VALUES (?, 'Hoja', 0, ?)"),
                                {key, QByteArray("x")});
            storeDocumentText(*connection, key, QStringLiteral("un pepino %1").arg(n));
        }
        transaction.commit();
    }
    const QList<FoundDocument> documents = search(QStringLiteral("pepino"));
    ASSERT_EQ(documents.size(), 1200);
    for (const FoundDocument& document : documents)
        ASSERT_TRUE(document.snippet.startsWith(QStringLiteral("un [pepino] "))) << document.pk;
}

// The text belongs to the document's content: it goes when the document goes, whichever way,
// or when its content changes; storing again replaces it, and it follows edits of the fields.
TEST_F(ContentSearchTest, TextGoesWithItsDocumentAndFollowsItsFields) {
    const QString removed = store(QStringLiteral("Uno"), QStringLiteral("pepino"));
    const QString deleted = store(QStringLiteral("Dos"), QStringLiteral("pepino"));
    const QString changed = store(QStringLiteral("Tres"), QStringLiteral("pepino"));
    const QString edited = store(QStringLiteral("Cuatro"), QStringLiteral("lechuga"));
    ASSERT_EQ(textRows(), 4);

    ASSERT_TRUE(manager->RemoveDocument(removed));
    connection->Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {deleted});
    connection->Execute(QStringLiteral("UPDATE Docs SET Data = ? WHERE Sys_GUID = ?"), {QByteArray("otro"), changed});
    EXPECT_EQ(textRows(), 1);
    EXPECT_EQ(found(QStringLiteral("pepino")), QStringList());
    EXPECT_EQ(documentsWithoutText(*connection), QStringList{changed});

    storeDocumentText(*connection, edited, QStringLiteral("tomate"));
    connection->Execute(QStringLiteral("UPDATE Docs SET Name = 'Ensalada' WHERE Sys_GUID = ?"), {edited});
    EXPECT_EQ(found(QStringLiteral("lechuga")), QStringList());
    EXPECT_EQ(found(QStringLiteral("ensalada tomate")), QStringList{QStringLiteral("Ensalada*")});
    EXPECT_EQ(found(QStringLiteral("cuatro tomate")), QStringList());
    checkIndex();
}

TEST_F(ContentSearchTest, DocumentsWithoutTextAreThoseHoldingContentNotYetRead) {
    const QString first = store(QStringLiteral("Primero"), QString());
    const QString second = store(QStringLiteral("Segundo"), QString());
    const QString third = store(QStringLiteral("Tercero"), QString());
    storeUrl(QStringLiteral("Enlace"), QStringLiteral("https://ejemplo.es/a"));
    EXPECT_EQ(documentsWithoutText(*connection), (QStringList{first, second, third}));

    storeDocumentText(*connection, second, QString(), QStringLiteral("dañado"));
    storeDocumentText(*connection, Key(QStringLiteral("Ninguno")), QStringLiteral("nada"));
    EXPECT_EQ(documentsWithoutText(*connection), (QStringList{first, third}));
    EXPECT_EQ(documentsWithContent(*connection), (QStringList{first, second, third}));
    const auto note = connection->Execute(QStringLiteral("SELECT Note, Text FROM DocText"));
    ASSERT_FALSE(note->Eof());
    EXPECT_EQ(note->value(0).toString(), QStringLiteral("dañado"));
    EXPECT_EQ(note->value(1).toString(), QString());
    EXPECT_EQ(textRows(), 1);
}

// The cap is the reader's: a text past its default is kept whole. A NUL inside counts as a blank.
// On PostgreSQL a text
// whose words seldom repeat can outgrow the index's 1 MiB: it keeps as much of its start as fits,
// and its note says so.
TEST_F(ContentSearchTest, KeepsALongTextAndReadsPastANul) {
    const QString text = QStringLiteral("alfa") + QChar(0) + QStringLiteral("beta ") +
                         QStringLiteral("x").repeated(1'000'000) + QStringLiteral(" omega");
    store(QStringLiteral("Largo"), text);
    EXPECT_EQ(found(QStringLiteral("beta")), QStringList{QStringLiteral("Largo*")});
    EXPECT_EQ(found(QStringLiteral("omega")), QStringList{QStringLiteral("Largo*")});
    EXPECT_EQ(rowCount(QStringLiteral("SELECT Sys_PK FROM DocText WHERE length(Text) = 1000016")), 1);

    QStringList distinct{QStringLiteral("primera")};
    for (int n = 0; distinct.size() < 150'000; ++n) distinct << QStringLiteral("p") + QString::number(n, 36);
    const QString guid = store(QStringLiteral("Diverso"), distinct.join(QLatin1Char(' ')));
    EXPECT_EQ(found(QStringLiteral("primera")), QStringList{QStringLiteral("Diverso*")});
    const auto row = connection->Execute(QStringLiteral("SELECT length(Text), Note FROM DocText WHERE Sys_PK = ?"),
                                         {pkOf(guid)});
    ASSERT_FALSE(row->Eof());
    if (onPostgreSql()) {
        EXPECT_LT(row->value(0).toInt(), 1'000'000);
        EXPECT_TRUE(row->value(1).toString().contains(QStringLiteral("recortado")))
            << row->value(1).toString().toStdString();
    } else {
        EXPECT_TRUE(row->value(1).isNull());
    }
}

// A database made before the texts is searched as before and gets their table without losing
// anything; making the index anew keeps the texts found and forgets those whose document went
// without its trigger.
TEST_F(ContentSearchTest, TableAddedToAnOlderDatabaseAndIndexMadeAnew) {
    const QString kept = store(QStringLiteral("Plano"), QString());
    const QStringList olderSchema = onPostgreSql() ? QStringList{QStringLiteral("DROP TRIGGER DocText_Forget ON Docs"),
                                                                 QStringLiteral("DROP TABLE DocText")}
                                                   : QStringList{QStringLiteral("DROP TRIGGER DocText_Forget"),
                                                                 QStringLiteral("DROP TRIGGER DocText_Refill"),
                                                                 QStringLiteral("DROP TRIGGER DocText_Replaced"),
                                                                 QStringLiteral("DROP TRIGGER DocText_Fields"),
                                                                 QStringLiteral("DROP TABLE DocTextWords"),
                                                                 QStringLiteral("DROP TABLE DocText")};
    for (const QString& statement : olderSchema) connection->Execute(statement);
    EXPECT_EQ(found(QStringLiteral("plano")), QStringList{QStringLiteral("Plano")});
    rebuildWordIndex(*connection);
    createSchema(*connection);
    EXPECT_EQ(documentsWithoutText(*connection), QStringList{kept});
    storeDocumentText(*connection, kept, QStringLiteral("antiguo"));
    EXPECT_EQ(found(QStringLiteral("plano antiguo")), QStringList{QStringLiteral("Plano*")});

    connection->Execute(onPostgreSql() ? QStringLiteral("ALTER TABLE Docs DISABLE TRIGGER DocText_Forget")
                                       : QStringLiteral("DROP TRIGGER DocText_Forget"));
    connection->Execute(QStringLiteral("DELETE FROM Docs"));
    createSchema(*connection);
    if (onPostgreSql()) connection->Execute(QStringLiteral("ALTER TABLE Docs ENABLE TRIGGER DocText_Forget"));
    store(QStringLiteral("Nuevo"), QStringLiteral("moderno"));
    rebuildWordIndex(*connection);
    EXPECT_EQ(textRows(), 1);
    EXPECT_EQ(found(QStringLiteral("moderno")), QStringList{QStringLiteral("Nuevo*")});
    checkIndex();
}

}  // namespace
