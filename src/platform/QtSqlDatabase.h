#pragma once

#include "platform/Database_p.h"
#include "platform/Error.h"

#include <QSqlDatabase>

class QSqlError;
class QUrl;
typedef struct pg_conn PGconn;

namespace dorvanel {

// A PostgreSQL database reached through Qt's driver. Content columns also travel through
// libpq on the driver's own connection (PostgreSqlWire), in binary form.
class QtSqlDatabase final : public Database {
public:
    // Raises Error when the server cannot be reached or refuses the connection.
    explicit QtSqlDatabase(const QUrl& url);
    ~QtSqlDatabase() override;
    QtSqlDatabase(const QtSqlDatabase&) = delete;
    QtSqlDatabase& operator=(const QtSqlDatabase&) = delete;

    Connection::Engine engine() const override { return Connection::Engine::PostgreSql; }
    std::unique_ptr<Rows> run(const QString& sql, const QVariantList& values, const RunOptions& options,
                              qint32* recordsAffected) override;
    bool isOpen() const override { return db_.isOpen(); }
    void close() override;

    // The driver's libpq connection. Raises Error 3704 once the database is closed.
    PGconn* handle() const;

private:
    // The text that runs in place of sql so that the column reads as NULL.
    QString withColumnLeftOut(const QString& sql, const QString& column) const;

    QString name_;
    QSqlDatabase db_;
};

// Gives the driver's settings the URL's user, password, host, port and database, and its query
// parameters; raises Error::OpenFailed for a URL it refuses. Nothing connects yet.
void configureFromUrl(QSqlDatabase& db, const QUrl& url);

// The driver's failure as an Error: its numeric code when it has one, and its text.
Error sqlError(const QSqlError& error);
// A server's failure as an Error: its SQLSTATE as the number when that is all digits (and not
// zero), Error::StatementFailed otherwise, and its text followed by "(SQLSTATE XXXXX)".
Error serverError(const QString& sqlState, const QString& text);

// The libpq connection under a PostgreSQL connection; raises Error for other engines.
PGconn* postgreSqlHandle(Connection& connection);

}  // namespace dorvanel
