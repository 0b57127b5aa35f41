#include "platform/PostgreSqlWire.h"

#include "platform/QtSqlDatabase.h"
#include "platform/SqlLog.h"

#include <QCoreApplication>
#include <QVarLengthArray>
#include <QtEndian>
#include <limits>
#include <optional>

#include <libpq-fe.h>

namespace dorvanel::PostgreSqlWire {

namespace {

// What a binary COPY starts with: its signature, no flags and no header extension.
const QByteArray CopyHeader = QByteArray("PGCOPY\n\xff\r\n\0", 11) + QByteArray(8, '\0');

template <typename Integer>
QByteArray bigEndian(Integer value) {
    const Integer swapped = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&swapped), sizeof swapped);
}

Error refusal(PGconn* connection, const PGresult* result) {
    const char* sqlState = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    QString text = result ? QString::fromUtf8(PQresultErrorMessage(result)) : QString();
    if (text.trimmed().isEmpty()) text = QString::fromUtf8(PQerrorMessage(connection));
    return serverError(QString::fromLatin1(sqlState), text.trimmed(), PQstatus(connection) == CONNECTION_BAD);
}

Result expect(PGconn* connection, Result result, ExecStatusType status) {
    if (PQresultStatus(result.get()) != status) throw refusal(connection, result.get());
    return result;
}

// Reads what the server says about the statement just sent, to its end; raises its refusal.
void finishStatement(PGconn* connection) {
    std::optional<Error> refused;
    while (Result result{PQgetResult(connection)}) {
        if (!refused && PQresultStatus(result.get()) == PGRES_FATAL_ERROR) refused = refusal(connection, result.get());
    }
    if (refused) throw *refused;
}

}  // namespace

void ResultDeleter::operator()(PGresult* result) const { PQclear(result); }

Result query(PGconn* connection, const QString& sql, const QList<QByteArray>& parameters) {
    qCDebug(lcDorvanelSql).noquote() << sql;
    QVarLengthArray<const char*, 4> values;
    for (const QByteArray& parameter : parameters) values.append(parameter.constData());
    constexpr int BinaryRows = 1;
    return expect(connection,
                  Result(PQexecParams(connection, sql.toUtf8().constData(), int(values.size()), nullptr,
                                      values.constData(), nullptr, nullptr, BinaryRows)),
                  PGRES_TUPLES_OK);
}

QStringList columnsOf(PGconn* connection, const QString& sql) {
    // The unnamed statement: the driver names the statements it prepares.
    expect(connection, Result(PQprepare(connection, "", sql.toUtf8().constData(), 0, nullptr)), PGRES_COMMAND_OK);
    const Result description = expect(connection, Result(PQdescribePrepared(connection, "")), PGRES_COMMAND_OK);
    QStringList names;
    for (int i = 0; i < PQnfields(description.get()); ++i) names << QString::fromUtf8(PQfname(description.get(), i));
    return names;
}

ValueCopy::ValueCopy(PGconn* connection, const QString& copySql, qint64 size) : connection_(connection) {
    if (size > std::numeric_limits<qint32>::max())
        throw Error(Error::InvalidArgument,
                    QCoreApplication::translate("dorvanel::PostgreSqlWire", "El valor no cabe en una columna: %1 bytes")
                        .arg(size));
    qCDebug(lcDorvanelSql).noquote() << copySql;
    expect(connection, Result(PQexec(connection, copySql.toUtf8().constData())), PGRES_COPY_IN);
    try {
        put(CopyHeader + bigEndian<qint16>(1) + bigEndian<qint32>(qint32(size)));
    } catch (const Error&) {
        abandon();
        throw;
    }
}

ValueCopy::~ValueCopy() {
    if (open_) abandon();
}

void ValueCopy::abandon() noexcept {
    open_ = false;
    PQputCopyEnd(connection_, "abandoned");
    try {
        finishStatement(connection_);
    } catch (const Error&) {
        // The server's refusal of the abandoned copy is what was asked for.
    }
}

void ValueCopy::write(const char* bytes, qint64 count) { put(bytes, count); }

void ValueCopy::finish() {
    put(bigEndian<qint16>(-1));  // no more rows
    open_ = false;
    if (PQputCopyEnd(connection_, nullptr) != 1) throw refusal(connection_, nullptr);
    finishStatement(connection_);
}

void ValueCopy::put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }

void ValueCopy::put(const char* bytes, qint64 count) {
    if (PQputCopyData(connection_, bytes, int(count)) != 1) throw refusal(connection_, nullptr);
}

}  // namespace dorvanel::PostgreSqlWire
