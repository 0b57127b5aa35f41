#pragma once

#include "platform/Database_p.h"
#include "platform/Error.h"

#include <QSqlDatabase>

class QSqlError;
class QUrl;

namespace dorvanel {

// A PostgreSQL database reached through Qt's driver.
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

private:
    QString name_;
    QSqlDatabase db_;
};

// The driver's failure as an Error: its numeric code when it has one, and its text.
Error sqlError(const QSqlError& error);

}  // namespace dorvanel
