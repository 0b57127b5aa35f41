#pragma once

#include "platform/Connection.h"
#include "platform/Error.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <QByteArray>
#include <QHash>

struct sqlite3;
struct sqlite3_stmt;

namespace dorvanel {

// Prepared SQLite statements kept for reuse, by their text: a host that stores or lists many
// documents prepares each statement once.
class StatementCache {
public:
    StatementCache() = default;
    ~StatementCache() { Clear(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A prepared statement for the text, taken out of the cache; nullptr when none is kept.
    sqlite3_stmt* Take(const QByteArray& sql);
    // Resets the statement and keeps it, or finalizes it when the cache is full.
    void GiveBack(const QByteArray& sql, sqlite3_stmt* statement);
    void Clear();

private:
    QHash<QByteArray, sqlite3_stmt*> statements_;
};

struct Connection::Private {
    QSqlDatabase db;
    QString connectionName;
    Engine engine = Engine::Sqlite;
    StatementCache statements;
    int openTransactions = 0;
};

// The SQLite handle under a SQLite connection; raises Error for other engines.
sqlite3* sqliteHandle(Connection& connection);

// The driver's failure as an Error: its numeric code when it has one, and its text.
Error sqlError(const QSqlError& error);

// Logs the text, then runs the prepared or plain statement; raises Error when it is refused.
void runStatement(QSqlQuery& query, const QString& sql, const QVariantList& values);

}  // namespace dorvanel
