#include "repository/FindDocumentsByWords.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/WordIndex.h"

#include <QRegularExpression>

namespace dorvanel {

namespace {

const QString FoundColumns = QStringLiteral(
    "d.Sys_PK, d.Sys_GUID, d.Name, d.TypeData, d.Description, d.Works, d.Sys_DTCreated, d.Sys_TimeStamp, "
    "d.storeout, length(d.Data)");

// The words typed, without those that hold no letter or digit: they would match nothing.
QStringList wordsOf(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
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
// they meet, and the values of all of them in order.
struct Statement {
    QString rank;
    QString from;
    QStringList conditions;
    QVariantList values;

    QString sql(const WordQuery& query) const {
        QString text = QStringLiteral("SELECT %1, %2 AS Rank FROM %3").arg(FoundColumns, rank, from);
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

// The index, and the rows still queued for it through the connection's own index of them.
Statement sqliteStatement(Connection& connection, const QStringList& words) {
    const QString match = sqliteMatch(words);
    QString scored = QStringLiteral("SELECT rowid, -bm25(DocWords) AS Score FROM DocWords WHERE DocWords MATCH ?");
    QVariantList values{match};
    if (IndexQueuedWords(connection)) {
        scored += QStringLiteral(
            " UNION ALL SELECT rowid, -bm25(DocWordsRecent) FROM temp.DocWordsRecent "
            "WHERE DocWordsRecent MATCH ? AND rowid IN (SELECT Sys_PK FROM main.DocWordsPending)");
        values << match;
    }
    return {QStringLiteral("w.Score"),
            QStringLiteral("(%1) w JOIN Docs d ON d.Sys_PK = w.rowid").arg(scored),
            {},
            values};
}

// The index is on Docs_Words of the three columns, so the condition names it the same way.
Statement postgreSqlStatement(const QStringList& words) {
    const QString match = postgreSqlMatch(words);
    return {QStringLiteral("ts_rank(Docs_Words(d.Name, d.Description, d.Works), to_tsquery('spanish', Docs_Fold(?)))"),
            QStringLiteral("Docs d"),
            {QStringLiteral("Docs_Words(d.Name, d.Description, d.Works) @@ to_tsquery('spanish', Docs_Fold(?))")},
            {match, match}};
}

FoundDocument foundIn(const Recordset& row) {
    FoundDocument found;
    found.pk = row.Fields(0).toLongLong();
    found.guid = row.Fields(1).toString();
    found.name = row.Fields(2).toString();
    found.type = row.Fields(3).toString();
    found.description = row.Fields(4).toString();
    found.keywords = row.Fields(5).toString();
    found.created = row.Fields(6).toString();
    found.timestamp = row.Fields(7).toString();
    found.outside = row.Fields(8).toLongLong() != 0;
    if (!found.outside && !row.Fields(9).isNull()) found.size = row.Fields(9).toLongLong();
    found.rank = row.Fields(10).toDouble();
    return found;
}

}  // namespace

QList<FoundDocument> FindDocumentsByWords(Connection& connection, const WordQuery& query) {
    const QStringList words = wordsOf(query.words);
    if (words.isEmpty()) return {};
    Statement statement = connection.engine() == Connection::Engine::Sqlite ? sqliteStatement(connection, words)
                                                                            : postgreSqlStatement(words);
    addFilters(statement, query);
    QList<FoundDocument> found;
    for (auto rows = connection.Execute(statement.sql(query), statement.values); !rows->Eof(); rows->MoveNext())
        found << foundIn(*rows);
    return found;
}

}  // namespace dorvanel
