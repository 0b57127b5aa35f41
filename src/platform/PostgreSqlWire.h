#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace dorvanel {

// Statements sent through libpq on the connection Qt's PostgreSQL driver opened (see
// postgreSqlHandle), where the driver's text form of bytea would cost time and memory: content
// travels in binary form, a piece at a time. They run inside whatever transaction the
// connection has open, and each one is over, its results read, when the call returns. Like the
// driver's own next statement, each ends a forward-only query whose rows are still being read
// (libpq discards what is left of them). Every statement text is logged before it runs; a
// refused one raises Error.
namespace PostgreSqlWire {

struct ResultDeleter {
    void operator()(PGresult* result) const;
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// Runs one statement with its parameters given as text; its rows come back in binary form.
Result query(PGconn* connection, const QString& sql, const QList<QByteArray>& parameters);

// The names of the columns a query gives, learnt by preparing it, without running it.
QStringList columnsOf(PGconn* connection, const QString& sql);

// Sends one row of one column through copySql, a COPY ... FROM STDIN (FORMAT binary): the
// value's size first, then its bytes as they come, exactly size of them in all. A copy that
// is not finished is abandoned, and the server keeps nothing of it.
class ValueCopy {
public:
    ValueCopy(PGconn* connection, const QString& copySql, qint64 size);
    ~ValueCopy();
    ValueCopy(const ValueCopy&) = delete;
    ValueCopy& operator=(const ValueCopy&) = delete;

    void write(const char* bytes, qint64 count);
    void finish();

private:
    void abandon() noexcept;
    void put(const QByteArray& bytes);
    void put(const char* bytes, qint64 count);

    PGconn* connection_;
    bool open_ = true;
};

}  // namespace PostgreSqlWire

}  // namespace dorvanel
