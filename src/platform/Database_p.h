#pragma once

#include "platform/Connection.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

namespace dorvanel {

class Rows;

// How a statement is to run, beyond its text and values.
struct RunOptions {
    // The rows will be counted before they are read (a keyset or static cursor).
    bool countable = false;
    // A column that reads as NULL, so that a large value in it is never loaded; it is then
    // streamed on its own. SQLite prepares the statement so that the column reads NULL;
    // PostgreSQL runs the statement inside a projection that puts NULL in its place.
    QString leftOut;
};

// One open database of one engine, and the one way that engine runs statements: SQLite
// through its own interface on a handle the component opened itself, PostgreSQL through
// Qt's driver. Every statement text is logged before it runs.
class Database {
public:
    virtual ~Database() = default;

    virtual Connection::Engine engine() const = 0;
    // A query's rows, or nullptr for any other statement (with the count of changed rows in
    // recordsAffected, -1 for a query). Raises Error when the statement is refused.
    virtual std::unique_ptr<Rows> run(const QString& sql, const QVariantList& values, const RunOptions& options,
                                      qint32* recordsAffected) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    // How many Transactions are open on it, the outermost one included.
    int openTransactions = 0;
    // Tables Connection::hasTable found, so that a check on every store or search asks once;
    // forgotten whenever this connection changes its schema or rolls back.
    QSet<QString> knownTables;
    // Runs as the outermost Transaction that writes commits, before COMMIT, as part of what it keeps; a
    // failure in it leaves the transaction to roll back. The record of changes seals its
    // entries here on a connection it is attached to.
    std::function<void(Connection&)> beforeCommit;
    // The failure in which the server went away, once it did.
    std::optional<Error> lostBy;

    // What a closed database raises: the failure that lost it, if that is how it closed.
    Error closedError() const {
        return lostBy.value_or(
            Error(Error::ObjectClosed, QCoreApplication::translate("dorvanel::Recordset", "La conexión está cerrada")));
    }
};

// The database under a connection, for the platform layer's own classes.
Database& databaseOf(Connection& connection);
// A connection over an open database. A program may give it a database of its own making, as
// the fuzz targets do to build PostgreSQL's statements without a server.
std::shared_ptr<Connection> connectionOver(std::unique_ptr<Database> database);

}  // namespace dorvanel
