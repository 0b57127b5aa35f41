#include "host/Schema.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QStringList>

namespace dorvanel {

namespace {

// The list columns of the join leave the two BLOBs out, so listing never reads content.
const char* const JoinColumns =
    "SELECT d.Sys_PK, d.Sys_GUID, d.Sys_DTCreated, d.Sys_TimeStamp, d.Name, d.Description, d.Works, "
    "d.TypeData, d.storeout, d.urlfile, l.FK_Parent, l.FK_Doc, l.TypeParent, l.Sis "
    "FROM Docs d JOIN DocLink l ON l.FK_Doc = d.Sys_GUID";

const char* const LinkColumns = "SELECT FK_Parent, FK_Doc, TypeParent, Sis FROM DocLink";

// The word index over name, description and keywords, apart from Docs. A row gets its
// entries from triggers, so that rows a host writes with plain SQL are found too. Each stored
// document commits on its own, so the index's writes count: it keeps no table of column sizes
// (ranking counts a found row's words again instead, which costs little for a short text).
const char* const SqliteWordIndex =
    "CREATE VIRTUAL TABLE DocWords USING fts5(Name, Description, Works, content='Docs', "
    "content_rowid='Sys_PK', columnsize=0, tokenize='unicode61 remove_diacritics 2')";

QStringList sqliteWordTriggers() {
    const QString add = QStringLiteral(
        "INSERT INTO DocWords (rowid, Name, Description, Works) "
        "VALUES (NEW.Sys_PK, NEW.Name, NEW.Description, NEW.Works);");
    const QString remove = QStringLiteral(
        "INSERT INTO DocWords (DocWords, rowid, Name, Description, Works) "
        "VALUES ('delete', OLD.Sys_PK, OLD.Name, OLD.Description, OLD.Works);");
    return {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocWords_Insert AFTER INSERT ON Docs BEGIN %1 END").arg(add),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocWords_Delete AFTER DELETE ON Docs BEGIN %1 END").arg(remove),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocWords_Update AFTER UPDATE OF Name, Description, Works ON Docs "
                       "BEGIN %1 %2 END")
            .arg(remove, add),
    };
}

// The digest and size of each stored content, apart from Docs; it goes with its document.
// Keyed by its document alone, without a rowid, so that recording one writes one tree less.
QStringList sqliteDigests() {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocDigests ("
                       "Sys_GUID TEXT PRIMARY KEY CHECK (length(Sys_GUID) = 32), "
                       "Size INTEGER NOT NULL, Sha256 TEXT NOT NULL) WITHOUT ROWID"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocDigests_Sha256 ON DocDigests (Sha256, Size)"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocDigests_Delete AFTER DELETE ON Docs BEGIN "
                       "DELETE FROM DocDigests WHERE Sys_GUID = OLD.Sys_GUID; END"),
    };
}

QStringList sqliteSchema() {
    const QString now = QStringLiteral("strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')");
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS Docs ("
                       "Sys_PK INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Sys_GUID TEXT NOT NULL UNIQUE CHECK (length(Sys_GUID) = 32), "
                       "Sys_DTCreated TEXT NOT NULL DEFAULT (%1), "
                       "Sys_TimeStamp TEXT NOT NULL DEFAULT (%1), "
                       "Name TEXT, Description TEXT, Works TEXT, TypeData TEXT, "
                       "storeout INTEGER, urlfile TEXT, Data BLOB, MiniData BLOB)")
            .arg(now),
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocLink ("
                       "FK_Parent TEXT NOT NULL CHECK (length(FK_Parent) = 32), "
                       "FK_Doc TEXT NOT NULL CHECK (length(FK_Doc) = 32), "
                       "TypeParent TEXT, Sis INTEGER)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocLink_FK_Parent ON DocLink (FK_Parent)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocLink_FK_Doc ON DocLink (FK_Doc)"),
        QStringLiteral("CREATE VIEW IF NOT EXISTS DocLinks AS %1").arg(QLatin1String(LinkColumns)),
        QStringLiteral("CREATE VIEW IF NOT EXISTS qryJoin AS %1").arg(QLatin1String(JoinColumns)),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS Docs_TimeStamp AFTER UPDATE ON Docs BEGIN "
                       "UPDATE Docs SET Sys_TimeStamp = %1 WHERE Sys_PK = NEW.Sys_PK; END")
            .arg(now),
    };
}

// Accents are folded by a function of our own: the unaccent extension is not always there, and
// its function may not serve in an index. The parser lowers only ASCII letters on a database
// without a locale, so capitals are folded too.
const char* const PostgreSqlWordFunctions[] = {
    "CREATE OR REPLACE FUNCTION Docs_Fold(value text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS "
    "$$ SELECT translate(value, 'ÁÀÂÄÃÅÉÈÊËÍÌÎÏÓÒÔÖÕÚÙÛÜÑÇáàâäãåéèêëíìîïóòôöõúùûüñç', "
    "'AAAAAAEEEEIIIIOOOOOUUUUNCaaaaaaeeeeiiiiooooouuuunc') $$",
    "CREATE OR REPLACE FUNCTION Docs_Words(name text, description text, works text) RETURNS tsvector "
    "LANGUAGE sql IMMUTABLE PARALLEL SAFE AS "
    "$$ SELECT to_tsvector('spanish', Docs_Fold(concat_ws(' ', name, description, works))) $$",
    // The index keeps itself in step with every write of those columns.
    "CREATE INDEX IF NOT EXISTS Docs_Words ON Docs USING gin (Docs_Words(Name, Description, Works))",
};

QStringList postgreSqlSchema() {
    QStringList statements{
        QStringLiteral("CREATE TABLE IF NOT EXISTS Docs ("
                       "Sys_PK integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                       "Sys_GUID varchar(32) NOT NULL UNIQUE CHECK (length(Sys_GUID) = 32), "
                       "Sys_DTCreated timestamp(3) NOT NULL DEFAULT localtimestamp, "
                       "Sys_TimeStamp timestamp(3) NOT NULL DEFAULT localtimestamp, "
                       "Name text, Description text, Works text, TypeData text, "
                       "storeout integer, urlfile text, Data bytea, MiniData bytea)"),
        // Content is read in slices: kept uncompressed, a slice is read without the rest.
        QStringLiteral("ALTER TABLE Docs ALTER COLUMN Data SET STORAGE EXTERNAL"),
        QStringLiteral("ALTER TABLE Docs ALTER COLUMN MiniData SET STORAGE EXTERNAL"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocLink ("
                       "FK_Parent varchar(32) NOT NULL CHECK (length(FK_Parent) = 32), "
                       "FK_Doc varchar(32) NOT NULL CHECK (length(FK_Doc) = 32), "
                       "TypeParent text, Sis integer)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocLink_FK_Parent ON DocLink (FK_Parent)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocLink_FK_Doc ON DocLink (FK_Doc)"),
        QStringLiteral("CREATE OR REPLACE VIEW DocLinks AS %1").arg(QLatin1String(LinkColumns)),
        QStringLiteral("CREATE OR REPLACE VIEW qryJoin AS %1").arg(QLatin1String(JoinColumns)),
        QStringLiteral("CREATE OR REPLACE FUNCTION Docs_Touch() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN NEW.Sys_TimeStamp := localtimestamp; RETURN NEW; END $$"),
        QStringLiteral("CREATE OR REPLACE TRIGGER Docs_TimeStamp BEFORE UPDATE ON Docs "
                       "FOR EACH ROW EXECUTE FUNCTION Docs_Touch()"),
        // A trigger rather than a foreign key, so that Docs stays as free to change as before.
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocDigests ("
                       "Sys_GUID varchar(32) PRIMARY KEY CHECK (length(Sys_GUID) = 32), "
                       "Size bigint NOT NULL, Sha256 char(64) NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocDigests_Sha256 ON DocDigests (Sha256, Size)"),
        QStringLiteral("CREATE OR REPLACE FUNCTION DocDigests_Forget() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN DELETE FROM DocDigests WHERE Sys_GUID = OLD.Sys_GUID; RETURN OLD; END $$"),
        QStringLiteral("CREATE OR REPLACE TRIGGER DocDigests_Delete AFTER DELETE ON Docs "
                       "FOR EACH ROW EXECUTE FUNCTION DocDigests_Forget()"),
    };
    for (const char* statement : PostgreSqlWordFunctions) statements << QString::fromUtf8(statement);
    return statements;
}

bool hasTable(Connection& connection, const QString& name) {
    return !connection.Execute(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"), {name})->Eof();
}

// A database made before the word index gets it, filled with the rows it already holds.
void addSqliteWordIndex(Connection& connection) {
    if (hasTable(connection, QStringLiteral("DocWords"))) return;
    connection.Execute(QLatin1String(SqliteWordIndex));
    connection.Execute(QStringLiteral("INSERT INTO DocWords (DocWords) VALUES ('rebuild')"));
}

void runAll(Connection& connection, const QStringList& statements) {
    for (const QString& statement : statements) connection.Execute(statement);
}

}  // namespace

void CreateSchema(Connection& connection) {
    Connection::Transaction transaction(connection);
    if (connection.engine() == Connection::Engine::Sqlite) {
        runAll(connection, sqliteSchema());
        addSqliteWordIndex(connection);
        runAll(connection, sqliteWordTriggers() + sqliteDigests());
    } else {
        runAll(connection, postgreSqlSchema());
    }
    transaction.Commit();
}

}  // namespace dorvanel
