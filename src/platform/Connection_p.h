#pragma once

#include "platform/Connection.h"
#include "platform/Error.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

struct sqlite3;

namespace dorvanel {

struct Connection::Private {
    QSqlDatabase db;
    QString connectionName;
    Engine engine = Engine::Sqlite;
};

// The SQLite handle under a SQLite connection; raises Error for other engines.
sqlite3* sqliteHandle(Connection& connection);

// The driver's failure as an Error: its numeric code when it has one, and its text.
Error sqlError(const QSqlError& error);

// Logs the text, then runs the prepared or plain statement; raises Error when it is refused.
void runStatement(QSqlQuery& query, const QString& sql, const QVariantList& values);

}  // namespace dorvanel
