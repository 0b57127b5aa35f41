#include "repository/FindDocumentsByWords.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/TextSnippet.h"
#include "repository/WordIndex.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <span>

namespace dorvanel {

namespace {

const QString FoundColumns = QStringLiteral(
    "d.Sys_PK, d.Sys_GUID, d.Name, d.TypeData, d.Description, d.Works, d.Sys_DTCreated, d.Sys_TimeStamp, "
    "d.storeout, length(d.Data)");

// The words typed, without those that hold no letter or digit: they would match nothing. Control
// characters separate words as blanks do: a NUL would end the query's text on either engine.
QStringList wordsOf(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("[\\s\\p{Cc}]+"));
    static const QRegularExpression letterOrDigit(QStringLiteral("[\\p{L}\\p{N}]"));
    QStringList words = text.split(blanks, Qt::SkipEmptyParts);
    words.removeIf([](const QString& word) { return !word.contains(letterOrDigit); });
    return words;
}

// FTS5: each word a quoted string (its quotes doubled) taken as a prefix; all must match.
QString sqliteMatch(const QStringList& words) {
    QStringList terms;
    for (QString word : words)
        terms << QLatin1Char('"') + word.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + "\"*";
    return terms.join(QLatin1Char(' '));
}

// FTS5 over DocTextWords: every word in the row, but not every word in its Fields.
QString sqliteContentMatch(const QStringList& words) {
    const QString all = sqliteMatch(words);
    return QStringLiteral("(%1) NOT Fields : (%1)").arg(all);
}

// to_tsquery: each word a quoted lexeme (its quotes and backslashes doubled) taken as a
// prefix, all joined by AND.
QString postgreSqlMatch(const QStringList& words) {
    QStringList terms;
    for (QString word : words)
        terms << QLatin1Char('\'') +
                     word.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                         .replace(QLatin1Char('\''), QStringLiteral("''")) +
                     QStringLiteral("':*");
    return terms.join(QStringLiteral(" & "));
}

// A statement in the making: how a row ranks, the rows it reads (Docs as d), the conditions
// they meet, and the values of all of them in order; and the snippet of its content's text.
struct Statement {
    QString rank;
    QString from;
    QStringList conditions;
    QVariantList values;
    QString snippet = QStringLiteral("NULL");

    QString sql(const WordQuery& query) const {
        QString text = QStringLiteral("SELECT %1, %2 AS Rank, %3 FROM %4").arg(FoundColumns, rank, snippet, from);
        if (!conditions.isEmpty()) text += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
        text += QStringLiteral(" ORDER BY Rank DESC, d.Sys_PK");
        if (query.limit > 0) text += QStringLiteral(" LIMIT ?");
        return text;
    }
};

void addFilters(Statement& statement, const WordQuery& query) {
    if (!query.type.isEmpty()) {
        statement.conditions << QStringLiteral("d.TypeData = ?");
        statement.values << query.type;
    }
    if (!query.parents.isEmpty()) {
        const QStringList marks(query.parents.size(), QStringLiteral("?"));
        statement.conditions << QStringLiteral("d.Sys_GUID IN (SELECT FK_Doc FROM DocLink WHERE FK_Parent IN (%1))")
                                    .arg(marks.join(QStringLiteral(", ")));
        for (const QString& parent : query.parents) statement.values << parent;
    }
    if (query.limit > 0) statement.values << query.limit;
}

// A word index of SQLite: the index of Docs, or the connection's own index of the rows queued
// for it.
Statement sqliteStatement(const QString& index, const QStringList& words) {
    return {QStringLiteral("-bm25(%1)").arg(index),
            QStringLiteral("%1 JOIN Docs d ON d.Sys_PK = %1.rowid").arg(index),
            {QStringLiteral("%1 MATCH ?").arg(index)},
            {sqliteMatch(words)}};
}

// The index is on Docs_Words of the three columns, so the condition names it the same way.
Statement postgreSqlStatement(const QStringList& words) {
    const QString match = postgreSqlMatch(words);
    return {QStringLiteral("ts_rank(Docs_Words(d.Name, d.Description, d.Works), to_tsquery('spanish', Docs_Fold(?)))"),
            QStringLiteral("Docs d"),
            {QStringLiteral("Docs_Words(d.Name, d.Description, d.Works) @@ to_tsquery('spanish', Docs_Fold(?))")},
            {match, match}};
}

// SQLite's index of the contents' texts, for the documents some of whose words lie only there.
// Without filters, the best rows are chosen in the index alone and only those are joined to
// Docs: sorting thousands of joined rows to keep a few cost twice as much (a common word in
// 10,000 texts).
Statement sqliteContentStatement(const QStringList& words, const WordQuery& query) {
    const QString match = sqliteContentMatch(words);
    if (query.limit > 0 && query.type.isEmpty() && query.parents.isEmpty())
        return {QStringLiteral("w.Rank"),
                QStringLiteral("(SELECT rowid AS Sys_PK, -bm25(DocTextWords) AS Rank FROM DocTextWords "
                               "WHERE DocTextWords MATCH ? ORDER BY Rank DESC, rowid LIMIT ?) w "
                               "JOIN Docs d ON d.Sys_PK = w.Sys_PK"),
                {},
                {match, query.limit}};
    return {QStringLiteral("-bm25(DocTextWords)"),
            QStringLiteral("DocTextWords JOIN Docs d ON d.Sys_PK = DocTextWords.rowid"),
            {QStringLiteral("DocTextWords MATCH ?")},
            {match}};
}

// PostgreSQL: the same through DocText's tsvector of the fields and the text.
Statement postgreSqlContentStatement(const QStringList& words) {
    const QString match = postgreSqlMatch(words);
    const QString query = QStringLiteral("to_tsquery('spanish', Docs_Fold(?))");
    return {QStringLiteral("ts_rank(t.Words, %1)").arg(query),
            QStringLiteral("Docs d JOIN DocText t ON t.Sys_PK = d.Sys_PK"),
            {QStringLiteral("t.Words @@ %1").arg(query),
             QStringLiteral("NOT Docs_Words(d.Name, d.Description, d.Works) @@ %1").arg(query)},
            {match, match, match}};
}

// The snippets are made here from a bounded start of each text, once the documents are chosen:
// FTS5's snippet() tokenizes a row's whole text twice and ts_headline parses what it is given.
// Made so, they cost a fraction (the benchmark's content search went from a median of 15 ms to
// 6), and read alike on both engines, accents kept (ts_headline would show the folded text).
constexpr int SnippetSource = 100000;
// Keys per statement, well under either engine's number of values.
constexpr qsizetype SnippetsPerStatement = 500;

void addSnippets(Connection& connection, QList<FoundDocument>& documents, const QStringList& words) {
    QHash<qint64, QString> snippets;
    for (qsizetype first = 0; first < documents.size(); first += SnippetsPerStatement) {
        const std::span<const FoundDocument> some(documents.constData() + first,
                                                  std::min(SnippetsPerStatement, documents.size() - first));
        QVariantList values{SnippetSource};
        for (const FoundDocument& document : some) values << document.pk;
        const QStringList marks(some.size(), QStringLiteral("?"));
        for (auto rows = connection.Execute(QStringLiteral(
                                                "SELECT Sys_PK, substr(Text, 1, ?) FROM DocText WHERE Sys_PK IN (%1)")
                                                .arg(marks.join(QStringLiteral(", "))),
                                            values);
             !rows->Eof(); rows->MoveNext())
            snippets.insert(rows->value(0).toLongLong(), TextSnippet(rows->value(1).toString(), words));
    }
    for (FoundDocument& document : documents) document.snippet = snippets.value(document.pk);
}

FoundDocument foundIn(const Recordset& row) {
    FoundDocument found;
    found.pk = row.value(0).toLongLong();
    found.guid = row.value(1).toString();
    found.name = row.value(2).toString();
    found.type = row.value(3).toString();
    found.description = row.value(4).toString();
    found.keywords = row.value(5).toString();
    found.created = row.value(6).toString();
    found.timestamp = row.value(7).toString();
    found.outside = row.value(8).toLongLong() != 0;
    if (!found.outside && !row.value(9).isNull()) found.size = row.value(9).toLongLong();
    found.rank = row.value(10).toDouble();
    return found;
}

QList<FoundDocument> found(Connection& connection, Statement statement, const WordQuery& query) {
    addFilters(statement, query);
    QList<FoundDocument> found;
    for (auto rows = connection.Execute(statement.sql(query), statement.values); !rows->Eof(); rows->MoveNext())
        found << foundIn(*rows);
    return found;
}

bool better(const FoundDocument& one, const FoundDocument& other) {
    return one.rank != other.rank ? one.rank > other.rank : one.pk < other.pk;
}

// The queued rows are read first and the index after, and a row found in both is kept once: a
// row the index takes in between is then found, and found once.
QList<FoundDocument> sqliteFound(Connection& connection, const QStringList& words, const WordQuery& query) {
    QList<FoundDocument> queued;
    if (IndexQueuedWords(connection))
        queued = found(connection, sqliteStatement(QStringLiteral("DocWordsRecent"), words), query);
    QList<FoundDocument> all = found(connection, sqliteStatement(QStringLiteral("DocWords"), words), query);
    if (queued.isEmpty()) return all;
    QSet<qint64> indexed;
    for (const FoundDocument& document : all) indexed.insert(document.pk);
    for (const FoundDocument& document : queued)
        if (!indexed.contains(document.pk)) all << document;
    std::sort(all.begin(), all.end(), better);
    if (query.limit > 0 && all.size() > query.limit) all.resize(query.limit);
    return all;
}

// The documents found in their name, description and keywords.
QList<FoundDocument> fieldsFound(Connection& connection, const QStringList& words, const WordQuery& query) {
    if (connection.engine() == Connection::Engine::Sqlite) return sqliteFound(connection, words, query);
    return found(connection, postgreSqlStatement(words), query);
}

// The documents found only with their content's text, as many as the query's limit leaves.
QList<FoundDocument> contentFound(Connection& connection, const QStringList& words, WordQuery query) {
    const bool onSqlite = connection.engine() == Connection::Engine::Sqlite;
    if (!connection.hasTable(onSqlite ? QStringLiteral("DocTextWords") : QStringLiteral("DocText"))) return {};
    QList<FoundDocument> documents =
        found(connection, onSqlite ? sqliteContentStatement(words, query) : postgreSqlContentStatement(words), query);
    for (FoundDocument& document : documents) document.inContentOnly = true;
    addSnippets(connection, documents, words);
    return documents;
}

}  // namespace

QList<FoundDocument> findDocumentsByWords(Connection& connection, const WordQuery& query) {
    const QStringList words = wordsOf(query.words);
    if (words.isEmpty()) return {};
    QList<FoundDocument> documents = fieldsFound(connection, words, query);
    if (query.limit > 0 && documents.size() >= query.limit) return documents;
    WordQuery rest = query;
    if (rest.limit > 0) rest.limit -= int(documents.size());
    return documents + contentFound(connection, words, rest);
}

bool hasWordIndex(Connection& connection) {
    if (connection.engine() == Connection::Engine::Sqlite) return connection.hasTable(QStringLiteral("DocWords"));
    return !connection
                .Execute(QStringLiteral("SELECT 1 WHERE to_regprocedure('Docs_Words(text, text, text)') IS NOT NULL"))
                ->Eof();
}

}  // namespace dorvanel
