#pragma once

// A PostgreSQL server for the large-document cases, and the baseline the component is measured
// against there: libpq's own large-object import and export of the same file, the binary
// transfer a PostgreSQL client offers (psql's \lo_import and \lo_export).

#include <QString>

typedef struct pg_conn PGconn;

namespace dorvanel::bench {

// The server's address, from DORVANEL_BENCH_PG_URL (bench/run starts a throwaway server and
// sets it); raises when it is not set.
QString ServerUrl();

// A document put on the server without the component.
struct ServerDocument {
    QString guid;
    qint64 sysPk = 0;
};

// A plain libpq connection to that server.
class RawServer {
public:
    RawServer();
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    // Leaves the database with the component's schema, no rows and no large objects, and all
    // of it written out, so that every case starts from the same state.
    void reset();
    // Writes out what a case's preparation changed, so that the timed part does not pay for it.
    void checkpoint();

    // Imports the file as a large object in one transaction, as psql's \lo_import does; gives its OID.
    unsigned importFile(const QString& file);
    // Exports the large object to a file in one transaction, as psql's \lo_export does.
    void exportFile(unsigned largeObject, const QString& file);
    // A new document of type FetchedType made from the file, copied into the row on the server.
    ServerDocument storeDocument(const QString& file);

private:
    void execute(const char* sql);
    [[noreturn]] void fail(const char* what) const;

    PGconn* connection_ = nullptr;
};

}  // namespace dorvanel::bench
