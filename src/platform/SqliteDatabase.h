#pragma once

#include "platform/Database_p.h"
#include "platform/Error.h"

#include <QByteArray>
#include <QHash>
#include <QList>

struct sqlite3;
struct sqlite3_stmt;

namespace dorvanel {

// A SQLite database opened by the component itself with the SQLite library it links, so
// that its handle can be given to that library's BLOB streaming whatever SQLite the Qt
// build carries. Prepared statements are kept for reuse: a host that stores or lists many
// documents prepares each statement once. The cache holds the texts run most recently.
class SqliteDatabase final : public Database {
public:
    // What opening does with a file that is not there.
    enum class Missing { Created, Refused };

    // Opens the file at path, creating it when missing unless refused; raises Error when it
    // cannot (Error::OpenFailed naming the file when it is refused for missing).
    SqliteDatabase(const QString& path, Missing missing);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    Connection::Engine engine() const override { return Connection::Engine::Sqlite; }
    std::unique_ptr<Rows> run(const QString& sql, const QVariantList& values, const RunOptions& options,
                              qint32* recordsAffected) override;
    bool isOpen() const override { return db_ != nullptr; }
    void close() override;

    // Raises Error 3704 once the database is closed.
    sqlite3* handle() const;
    // The database's latest failure as an Error with SQLite's code.
    Error lastError(int code) const;

    // A statement for the text: a kept one, or a new one (nullptr for an empty text).
    sqlite3_stmt* takeStatement(const QByteArray& sql, const QString& leftOut);
    // Resets the statement and keeps it for the next run of its text, or finalizes it.
    void giveBack(const QByteArray& sql, sqlite3_stmt* statement);

private:
    void clearStatements();

    sqlite3* db_ = nullptr;
    QHash<QByteArray, sqlite3_stmt*> statements_;
    QList<QByteArray> givenBack_;  // the texts of statements_, the one given back longest ago first
};

// The failure SQLite reported with code on db (which may be null), its description ending with
// SQLite's name for the code and, where the system's error is behind it, errno's name:
// "database or disk is full (SQLITE_FULL, ENOSPC)".
Error sqliteError(int code, sqlite3* db);

// The SQLite handle under a SQLite connection; raises Error for other engines.
sqlite3* sqliteHandle(Connection& connection);

}  // namespace dorvanel
