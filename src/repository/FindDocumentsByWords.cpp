#include "repository/FindDocumentsByWords.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QRegularExpression>

namespace dorvanel {

namespace {

const QString FoundColumns = QStringLiteral(
    "d.Sys_PK, d.Sys_GUID, d.Name, d.TypeData, d.Description, d.Works, d.Sys_DTCreated, d.Sys_TimeStamp");

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

// The statement's text and its values so far, grown by the filters asked for.
struct Statement {
    QString sql;
    QVariantList values;
};

void addFilters(Statement& statement, const WordQuery& query) {
    if (!query.type.isEmpty()) {
        statement.sql += QStringLiteral(" AND d.TypeData = ?");
        statement.values << query.type;
    }
    if (!query.parents.isEmpty()) {
        QStringList marks(query.parents.size(), QStringLiteral("?"));
        statement.sql += QStringLiteral(" AND d.Sys_GUID IN (SELECT FK_Doc FROM DocLink WHERE FK_Parent IN (%1))")
                             .arg(marks.join(QStringLiteral(", ")));
        for (const QString& parent : query.parents) statement.values << parent;
    }
    statement.sql += QStringLiteral(" ORDER BY Rank DESC, d.Sys_PK");
    if (query.limit > 0) {
        statement.sql += QStringLiteral(" LIMIT ?");
        statement.values << query.limit;
    }
}

Statement sqliteStatement(const QStringList& words) {
    return {QStringLiteral("SELECT %1, -bm25(DocWords) AS Rank FROM DocWords JOIN Docs d ON d.Sys_PK = DocWords.rowid "
                           "WHERE DocWords MATCH ?")
                .arg(FoundColumns),
            {sqliteMatch(words)}};
}

// The index is on Docs_Words of the three columns, so the condition names it the same way.
Statement postgreSqlStatement(const QStringList& words) {
    const QString match = postgreSqlMatch(words);
    return {QStringLiteral("SELECT %1, ts_rank(Docs_Words(d.Name, d.Description, d.Works), "
                           "to_tsquery('spanish', Docs_Fold(?))) AS Rank FROM Docs d "
                           "WHERE Docs_Words(d.Name, d.Description, d.Works) @@ to_tsquery('spanish', Docs_Fold(?))")
                .arg(FoundColumns),
            {match, match}};
}

FoundDocument foundIn(const Recordset& row) {
    return {row.Fields(0).toLongLong(), row.Fields(1).toString(), row.Fields(2).toString(),
            row.Fields(3).toString(),   row.Fields(4).toString(), row.Fields(5).toString(),
            row.Fields(6).toString(),   row.Fields(7).toString(), row.Fields(8).toDouble()};
}

}  // namespace

QList<FoundDocument> FindDocumentsByWords(Connection& connection, const WordQuery& query) {
    const QStringList words = wordsOf(query.words);
    if (words.isEmpty()) return {};
    Statement statement = connection.engine() == Connection::Engine::Sqlite ? sqliteStatement(words)
                                                                            : postgreSqlStatement(words);
    addFilters(statement, query);
    QList<FoundDocument> found;
    for (auto rows = connection.Execute(statement.sql, statement.values); !rows->Eof(); rows->MoveNext())
        found << foundIn(*rows);
    return found;
}

}  // namespace dorvanel
