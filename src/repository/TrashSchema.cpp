#include "repository/TrashSchema.h"

#include "repository/DocumentTextSchema.h"

namespace dorvanel {

namespace {

// DocsTrash keeps a removed Docs row whole, its Sys_PK included, so that a restore gives it back
// as it was; RemovedAt is ISO 8601 text with the offset of the clock that removed it.
QStringList sqliteTables() {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocsTrash ("
                       "Sys_PK INTEGER PRIMARY KEY, "
                       "Sys_GUID TEXT NOT NULL UNIQUE CHECK (length(Sys_GUID) = 32), "
                       "Sys_DTCreated TEXT, Sys_TimeStamp TEXT, "
                       "Name TEXT, Description TEXT, Works TEXT, TypeData TEXT, "
                       "storeout INTEGER, urlfile TEXT, Data BLOB, MiniData BLOB, "
                       "RemovedAt TEXT NOT NULL, RemovedBy TEXT, Size INTEGER NOT NULL, Sha256 TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocLinkTrash ("
                       "FK_Parent TEXT NOT NULL, FK_Doc TEXT NOT NULL, TypeParent TEXT, Sis INTEGER)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocLinkTrash_FK_Doc ON DocLinkTrash (FK_Doc)"),
    };
}

QStringList postgreSqlTables() {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocsTrash ("
                       "Sys_PK integer PRIMARY KEY, "
                       "Sys_GUID varchar(32) NOT NULL UNIQUE CHECK (length(Sys_GUID) = 32), "
                       "Sys_DTCreated timestamp(3), Sys_TimeStamp timestamp(3), "
                       "Name text, Description text, Works text, TypeData text, "
                       "storeout integer, urlfile text, Data bytea, MiniData bytea, "
                       "RemovedAt text NOT NULL, RemovedBy text, Size bigint NOT NULL, Sha256 char(64))"),
        // Kept as Docs keeps it, so that a slice is read without the rest.
        QStringLiteral("ALTER TABLE DocsTrash ALTER COLUMN Data SET STORAGE EXTERNAL"),
        QStringLiteral("ALTER TABLE DocsTrash ALTER COLUMN MiniData SET STORAGE EXTERNAL"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocLinkTrash ("
                       "FK_Parent varchar(32) NOT NULL, FK_Doc varchar(32) NOT NULL, TypeParent text, Sis integer)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocLinkTrash_FK_Doc ON DocLinkTrash (FK_Doc)"),
    };
}

}  // namespace

QStringList TrashSchema(Connection::Engine engine) {
    const QStringList tables = engine == Connection::Engine::Sqlite ? sqliteTables() : postgreSqlTables();
    return tables + DocumentTextKeepingTrashed(engine);
}

}  // namespace dorvanel
