#include "ServerTransfers.h"

#include "BenchSupport.h"
#include "DocumentTransfers.h"
#include "host/Schema.h"
#include "platform/Connection.h"

#include <QFile>
#include <QFileInfo>
#include <libpq-fe.h>
#include <memory>
#include <stdexcept>
#include <string>

namespace dorvanel::bench {

namespace {

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

}  // namespace

QString ServerUrl() {
    const QString url = qEnvironmentVariable("DORVANEL_BENCH_PG_URL");
    Require(!url.isEmpty(), "DORVANEL_BENCH_PG_URL names no PostgreSQL server");
    return url;
}

RawServer::RawServer() : connection_(PQconnectdb(ServerUrl().toUtf8().constData())) {
    if (PQstatus(connection_) != CONNECTION_OK) {
        const std::string message = std::string("cannot connect: ") + PQerrorMessage(connection_);
        PQfinish(connection_);
        throw std::runtime_error(message);
    }
    execute("SET client_min_messages = warning");
}

RawServer::~RawServer() { PQfinish(connection_); }

void RawServer::reset() {
    execute("DROP SCHEMA IF EXISTS public CASCADE");
    execute("CREATE SCHEMA public");
    execute("SELECT lo_unlink(oid) FROM pg_largeobject_metadata");
    createSchema(*Connection::open(ServerUrl()));
    checkpoint();
}

void RawServer::checkpoint() { execute("CHECKPOINT"); }

unsigned RawServer::importFile(const QString& file) {
    execute("BEGIN");
    const Oid largeObject = lo_import(connection_, QFile::encodeName(file).constData());
    if (largeObject == InvalidOid) fail("lo_import");
    execute("COMMIT");
    return largeObject;
}

void RawServer::exportFile(unsigned largeObject, const QString& file) {
    execute("BEGIN");
    if (lo_export(connection_, largeObject, QFile::encodeName(file).constData()) != 1) fail("lo_export");
    execute("COMMIT");
}

ServerDocument RawServer::storeDocument(const QString& file) {
    const QByteArray largeObject = QByteArray::number(importFile(file));
    const QByteArray key = NextDocumentKey();
    const QByteArray name = QFileInfo(file).fileName().toUtf8();
    const QByteArray description = DocumentDescription.toUtf8();
    const QByteArray keywords = DocumentKeywords.toUtf8();
    const QByteArray type = FetchedType.toUtf8();
    const char* values[] = {key.constData(),      name.constData(), description.constData(),
                            keywords.constData(), type.constData(), largeObject.constData()};
    const Result inserted(
        PQexecParams(connection_,
                     "INSERT INTO Docs (Sys_GUID, Name, Description, Works, TypeData, storeout, Data) "
                     "VALUES ($1, $2, $3, $4, $5, 0, lo_get($6::oid)) RETURNING Sys_PK",
                     6, nullptr, values, nullptr, nullptr, 0));
    if (PQresultStatus(inserted.get()) != PGRES_TUPLES_OK) fail("insert");
    execute(("SELECT lo_unlink(" + largeObject + ")").constData());
    return {QString::fromLatin1(key), QByteArray(PQgetvalue(inserted.get(), 0, 0)).toLongLong()};
}

void RawServer::execute(const char* sql) {
    const Result result(PQexec(connection_, sql));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail(sql);
}

void RawServer::fail(const char* what) const {
    throw std::runtime_error(std::string(what) + ": " + PQerrorMessage(connection_));
}

}  // namespace dorvanel::bench
