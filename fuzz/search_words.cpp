// Search words as a user types them, on both engines. On SQLite the words run for real against a
// small database: whatever they hold, the index's query language must take them, with any type,
// parents and limit. PostgreSQL's statement is built on a stand-in database that
// keeps the text and values: its placeholders must match its values, and the text query must be a
// well-formed list of quoted prefixes.

#include "platform/Connection.h"
#include "platform/Database_p.h"
#include "platform/Error.h"
#include "platform/Rows_p.h"
#include "repository/FindDocumentsByWords.h"
#include "support/FuzzDatabase.h"
#include "support/FuzzInput.h"

using namespace dorvanel;
using dorvanel::fuzz::fail;

namespace {

class NoRows final : public Rows {
public:
    bool next() override { return false; }
    QVariant value(int) const override { return {}; }
    QByteArray utf8(int) const override { return {}; }
    QStringList columnNames() const override { return {}; }
    qint32 count() override { return 0; }
};

// A PostgreSQL database that answers every query with no rows and keeps the last statement that
// looks for words (the others ask the catalogue what the database has).
class KeptStatements final : public Database {
public:
    Connection::Engine engine() const override { return Connection::Engine::PostgreSql; }
    std::unique_ptr<Rows> run(const QString& sql, const QVariantList& values, const RunOptions&, qint32*) override {
        if (sql.contains(QLatin1String("to_tsquery"))) {
            lastSql = sql;
            lastValues = values;
        }
        return std::make_unique<NoRows>();
    }
    bool isOpen() const override { return true; }
    void close() override {}

    QString lastSql;
    QVariantList lastValues;
};

WordQuery queryOf(const QString& text) {
    // The first line holds the words; the next ones a type code, parents and a limit.
    const QStringList lines = text.split(QLatin1Char('\n'));
    WordQuery query{lines.value(0)};
    query.type = lines.value(1);
    if (!lines.value(2).isEmpty()) query.parents = lines.value(2).split(QLatin1Char(','));
    query.limit = qBound(0, lines.value(3).toInt(), 1000);
    return query;
}

void onSqlite(const WordQuery& query) {
    static const std::shared_ptr<Connection> connection = fuzz::sampleDatabase();
    try {
        findDocumentsByWords(*connection, query);
    } catch (const Error& error) {
        fail("search words refused on SQLite", query.words + QStringLiteral("\n") + error.description());
    }
}

// The terms of a text query: each quoted, its quotes and backslashes doubled, taken as a prefix,
// joined by " & ". Empty when the text is not so made.
QStringList tsqueryTerms(const QString& text) {
    const auto charAt = [&](qsizetype i) { return i < text.size() ? text[i] : QChar(); };
    QStringList terms;
    qsizetype at = 0;
    while (at < text.size()) {
        if (!terms.isEmpty()) {
            if (!QStringView(text).mid(at).startsWith(QLatin1String(" & "))) return {};
            at += 3;
        }
        if (charAt(at) != QLatin1Char('\'')) return {};
        QString term;
        for (++at;; ++at) {
            if (at >= text.size()) return {};
            const QChar c = text[at];
            const QChar next = charAt(at + 1);
            if ((c == QLatin1Char('\'') && next == QLatin1Char('\'')) || (c == QLatin1Char('\\') && next == c)) {
                term += c;
                ++at;
            } else if (c == QLatin1Char('\\')) {
                return {};
            } else if (c == QLatin1Char('\'')) {
                break;
            } else {
                term += c;
            }
        }
        if (!QStringView(text).mid(at).startsWith(QLatin1String("':*"))) return {};
        at += 3;
        terms << term;
    }
    return terms;
}

void onPostgreSql(const WordQuery& query) {
    auto database = std::make_unique<KeptStatements>();
    KeptStatements& kept = *database;
    const std::shared_ptr<Connection> connection = connectionOver(std::move(database));
    findDocumentsByWords(*connection, query);
    if (kept.lastSql.isEmpty()) return;  // no word to look for
    if (kept.lastSql.count(QLatin1Char('?')) != kept.lastValues.size())
        fail("placeholders and values differ", kept.lastSql);
    const QString match = kept.lastValues.value(0).toString();
    const QStringList terms = tsqueryTerms(match);
    if (terms.isEmpty()) fail("a malformed text query", query.words + QStringLiteral(" -> ") + match);
    for (const QString& term : terms)
        if (term.isEmpty() || !query.words.contains(term))
            fail("a term that was not typed", query.words + " -> " + match);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::startQt();
    const WordQuery query = queryOf(fuzz::textOf(data, size));
    onSqlite(query);
    onPostgreSql(query);
    return 0;
}
