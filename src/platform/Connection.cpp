#include "platform/Connection.h"

#include "platform/Error.h"
#include "platform/QtSqlDatabase.h"
#include "platform/Recordset.h"
#include "platform/Rows_p.h"
#include "platform/SqliteDatabase.h"

#include <QCoreApplication>
#include <QUrl>

#include <sqlite3.h>

namespace dorvanel {

namespace {

std::unique_ptr<Database> databaseAt(const QString& url, SqliteDatabase::Missing missing) {
    if (url.startsWith(QLatin1String("sqlite:"))) return std::make_unique<SqliteDatabase>(url.mid(7), missing);
    if (url.startsWith(QLatin1String("postgresql://")) || url.startsWith(QLatin1String("postgres://")))
        return std::make_unique<QtSqlDatabase>(QUrl(url));
    throw Error(
        Error::OpenFailed,
        QCoreApplication::translate("dorvanel::Connection",
                                    "Dirección de base de datos no reconocida: %1 (use sqlite:RUTA o postgresql://...)")
            .arg(url));
}

std::unique_ptr<Database> openDatabase(const QString& url, SqliteDatabase::Missing missing) {
    try {
        return databaseAt(url, missing);
    } catch (const Error& error) {
        if (error.number() == Error::OpenFailed) throw;
        throw Error(Error::OpenFailed,
                    QCoreApplication::translate("dorvanel::Connection", "No se pudo abrir la base de datos: %1")
                        .arg(error.description()),
                    error.causes());
    }
}

std::shared_ptr<Connection> prepared(std::shared_ptr<Connection> connection) {
    if (connection->engine() == Connection::Engine::Sqlite) {
        // WAL lets readers and one writer of other processes share the file.
        connection->Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
        connection->Execute(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    return connection;
}

// Statements after which a table found before may be gone.
bool changesSchemaOrUndoes(const QString& sql) {
    const QStringView statement = QStringView(sql).trimmed();
    for (const QLatin1String keyword : {QLatin1String("DROP"), QLatin1String("ALTER"), QLatin1String("ROLLBACK")})
        if (statement.startsWith(keyword, Qt::CaseInsensitive)) return true;
    return false;
}

}  // namespace

Database& databaseOf(Connection& connection) { return *connection.database_; }

std::shared_ptr<Connection> connectionOver(std::unique_ptr<Database> database) {
    return std::shared_ptr<Connection>(new Connection(std::move(database)));
}

std::shared_ptr<Connection> Connection::open(const QString& url) {
    return prepared(connectionOver(openDatabase(url, SqliteDatabase::Missing::Created)));
}

std::shared_ptr<Connection> Connection::openExisting(const QString& url) {
    return prepared(connectionOver(openDatabase(url, SqliteDatabase::Missing::Refused)));
}

Connection::Connection(std::unique_ptr<Database> database) : database_(std::move(database)) {}

Connection::~Connection() = default;

std::shared_ptr<Recordset> Connection::Execute(const QString& sql, qint32* recordsAffected) {
    return Execute(sql, QVariantList(), recordsAffected);
}

std::shared_ptr<Recordset> Connection::Execute(const QString& sql, const QVariantList& values,
                                               qint32* recordsAffected) {
    if (!isOpen()) throw database_->closedError();
    if (changesSchemaOrUndoes(sql)) database_->knownTables.clear();
    std::unique_ptr<Rows> rows = database_->run(sql, values, RunOptions(), recordsAffected);
    return rows ? Recordset::fromRows(std::move(rows), shared_from_this()) : nullptr;
}

Connection::Engine Connection::engine() const { return database_->engine(); }

qint64 Connection::largestValue() {
    constexpr qint64 LargestBytea = (qint64(1) << 30) - 1;
    return engine() == Engine::Sqlite ? sqlite3_limit(sqliteHandle(*this), SQLITE_LIMIT_LENGTH, -1) : LargestBytea;
}

bool Connection::hasTable(const QString& name) {
    if (database_->knownTables.contains(name)) return true;
    const QString sql = engine() == Engine::Sqlite
                            ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ? AND type IN ('table', 'view')")
                            : QStringLiteral("SELECT 1 WHERE to_regclass(?) IS NOT NULL");
    if (Execute(sql, {name})->Eof()) return false;
    database_->knownTables.insert(name);
    return true;
}

bool Connection::isOpen() const { return database_->isOpen(); }

void Connection::close() { database_->close(); }

struct Connection::Transaction::Private {
    Connection& connection;
    int depth;
    Access access;
    bool open = true;
};

Connection::Transaction::Transaction(Connection& connection, Access access)
    : d_(std::make_unique<Private>(Private{connection, connection.database_->openTransactions, access})) {
    connection.Execute(d_->depth == 0 ? beginStatement(access) : QStringLiteral("SAVEPOINT ") + savepointName());
    ++connection.database_->openTransactions;
}

Connection::Transaction::~Transaction() {
    if (!d_->open) return;
    Connection& connection = d_->connection;
    --connection.database_->openTransactions;
    try {
        if (d_->depth == 0) {
            connection.Execute(QStringLiteral("ROLLBACK"));
        } else {
            connection.Execute(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepointName());
            connection.Execute(QStringLiteral("RELEASE SAVEPOINT ") + savepointName());
        }
    } catch (const Error&) {
        // A closed connection has nothing left to undo, and an outer transaction's end
        // decides what stays; a destructor does not raise.
    }
}

void Connection::Transaction::commit() {
    Database& database = *d_->connection.database_;
    if (d_->depth == 0 && d_->access == Access::ReadWrite && database.beforeCommit)
        database.beforeCommit(d_->connection);
    d_->connection.Execute(d_->depth == 0 ? QStringLiteral("COMMIT")
                                          : QStringLiteral("RELEASE SAVEPOINT ") + savepointName());
    --d_->connection.database_->openTransactions;
    d_->open = false;
}

// A transaction that writes takes SQLite's write lock as it begins, so that a writer of another
// process is waited for there, within the busy timeout; a deferred transaction would read first
// and then fail at its first write, since waiting for the lock then could deadlock with the other
// writer. One that only reads is deferred: its snapshot starts at its first read. PostgreSQL's
// default isolation takes a new snapshot for each statement, so a reader asks for one that lasts.
QString Connection::Transaction::beginStatement(Access access) const {
    const bool sqlite = d_->connection.engine() == Engine::Sqlite;
    if (access == Access::ReadOnly)
        return sqlite ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    return sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
}

QString Connection::Transaction::savepointName() const { return QStringLiteral("dorvanel_%1").arg(d_->depth); }

}  // namespace dorvanel
