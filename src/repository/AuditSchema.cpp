#include "repository/AuditSchema.h"

namespace dorvanel {

namespace {

// The columns whose change is an edit of a document: its content and miniature are not among
// them, nor the time stamp its own trigger keeps.
const char* const EditedColumns[] = {"Name", "Description", "Works", "TypeData", "storeout", "urlfile"};

// "OLD.Name IS NOT NEW.Name OR ...", with the engine's operator for "differs, NULL included".
QString anyEditedColumnChanged(const QString& differs) {
    QStringList changes;
    for (const char* column : EditedColumns)
        changes << QStringLiteral("OLD.%1 %2 NEW.%1").arg(QLatin1String(column), differs);
    return changes.join(QStringLiteral(" OR "));
}

QString editedColumnList() {
    QStringList columns;
    for (const char* column : EditedColumns) columns << QLatin1String(column);
    return columns.join(QStringLiteral(", "));
}

// Every entry starts unsealed. The time is UTC, written with its offset so that it reads the
// same anywhere. SQLite has no users: a plain client's entry has an empty who, and the
// component's own connection fills in its user name through a trigger only it has.
QString sqliteEntry(const QString& action, const QString& doc, const QString& parent = QStringLiteral("NULL"),
                    const QString& sha256 = QStringLiteral("NULL")) {
    return QStringLiteral(
               "INSERT INTO DocAudit (At, Who, Action, Doc, Parent, Sha256) VALUES "
               "(strftime('%Y-%m-%dT%H:%M:%f+00:00', 'now'), '', %1, %2, %3, %4);")
        .arg(action, doc, parent, sha256);
}

QString inTrash(const QString& guid) {
    return QStringLiteral("EXISTS (SELECT 1 FROM DocsTrash WHERE Sys_GUID = %1)").arg(guid);
}

QStringList sqliteAudit() {
    return QStringList{
        // No index beyond the key: each would be one more tree written by every store.
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocAudit (Id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "At TEXT NOT NULL, Who TEXT NOT NULL, Action TEXT NOT NULL, Doc TEXT NOT NULL, Parent TEXT, "
                       "Sha256 TEXT, Entry INTEGER, Prev TEXT, Hash TEXT)"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_DocInsert AFTER INSERT ON Docs BEGIN %1 END")
            .arg(sqliteEntry(QStringLiteral("CASE WHEN %1 THEN 'restored' ELSE 'stored' END")
                                 .arg(inTrash(QStringLiteral("NEW.Sys_GUID"))),
                             QStringLiteral("NEW.Sys_GUID"), QStringLiteral("NULL"),
                             QStringLiteral("(SELECT Sha256 FROM DocsTrash WHERE Sys_GUID = NEW.Sys_GUID)"))),
        // Content copied into a row that was just written without it (the trash's restore copies
        // it in afterwards) completes that row's entry. The row's entry is then the last one. The
        // condition never reads OLD.Data: naming it would load the whole old content into memory.
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_DocReplace AFTER UPDATE OF Data ON Docs WHEN NOT "
                       "EXISTS (SELECT 1 FROM (SELECT Doc, Action, Entry FROM DocAudit ORDER BY Id DESC LIMIT 1) "
                       "WHERE Doc = NEW.Sys_GUID AND Entry IS NULL AND Action = 'restored') BEGIN %1 END")
            .arg(sqliteEntry(QStringLiteral("'replaced'"), QStringLiteral("NEW.Sys_GUID"))),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_DocEdit AFTER UPDATE OF %1 ON Docs WHEN %2 BEGIN %3 END")
            .arg(editedColumnList(), anyEditedColumnChanged(QStringLiteral("IS NOT")),
                 sqliteEntry(QStringLiteral("'edited'"), QStringLiteral("NEW.Sys_GUID"))),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_DocDelete AFTER DELETE ON Docs BEGIN %1 END")
            .arg(sqliteEntry(QStringLiteral("CASE WHEN %1 THEN 'removed' ELSE 'purged' END")
                                 .arg(inTrash(QStringLiteral("OLD.Sys_GUID"))),
                             QStringLiteral("OLD.Sys_GUID"))),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_TrashDelete AFTER DELETE ON DocsTrash "
                       "WHEN NOT EXISTS (SELECT 1 FROM Docs WHERE Sys_GUID = OLD.Sys_GUID) BEGIN %1 END")
            .arg(sqliteEntry(QStringLiteral("'purged'"), QStringLiteral("OLD.Sys_GUID"))),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_LinkInsert AFTER INSERT ON DocLink BEGIN %1 END")
            .arg(
                sqliteEntry(QStringLiteral("'linked'"), QStringLiteral("NEW.FK_Doc"), QStringLiteral("NEW.FK_Parent"))),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_LinkDelete AFTER DELETE ON DocLink BEGIN %1 END")
            .arg(sqliteEntry(QStringLiteral("'unlinked'"), QStringLiteral("OLD.FK_Doc"),
                             QStringLiteral("OLD.FK_Parent"))),
        // A link changed in place is the old one undone and the new one made.
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocAudit_LinkUpdate AFTER UPDATE ON DocLink WHEN "
                       "OLD.FK_Parent IS NOT NEW.FK_Parent OR OLD.FK_Doc IS NOT NEW.FK_Doc OR "
                       "OLD.TypeParent IS NOT NEW.TypeParent OR OLD.Sis IS NOT NEW.Sis BEGIN %1 %2 END")
            .arg(sqliteEntry(QStringLiteral("'unlinked'"), QStringLiteral("OLD.FK_Doc"),
                             QStringLiteral("OLD.FK_Parent")),
                 sqliteEntry(QStringLiteral("'linked'"), QStringLiteral("NEW.FK_Doc"),
                             QStringLiteral("NEW.FK_Parent"))),
    };
}

// On PostgreSQL the entry's who is the user the component's session set, or else the database
// user of the session. The functions run with their owner's rights, so that a client allowed to
// write the documents never fails for want of a right on the record; the search path is fixed
// as they are made, as such functions need.
const char* const PostgreSqlAudit[] = {
    "CREATE TABLE IF NOT EXISTS DocAudit (Id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
    "At text NOT NULL, Who text NOT NULL, Action text NOT NULL, Doc varchar(32) NOT NULL, Parent varchar(32), "
    "Sha256 text, Entry bigint, Prev text, Hash text)",
    "CREATE UNIQUE INDEX IF NOT EXISTS DocAudit_Entry ON DocAudit (Entry)",
    "CREATE INDEX IF NOT EXISTS DocAudit_Pending ON DocAudit (Id) WHERE Entry IS NULL",
    "CREATE INDEX IF NOT EXISTS DocAudit_Doc ON DocAudit (Doc)",
    "CREATE OR REPLACE FUNCTION DocAudit_Note(action text, doc text, parent text, digest text) RETURNS void "
    "LANGUAGE sql SECURITY DEFINER SET search_path FROM CURRENT AS $$ "
    "INSERT INTO DocAudit (At, Who, Action, Doc, Parent, Sha256) VALUES ("
    "to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"+00:00\"'), "
    "coalesce(nullif(current_setting('dorvanel.user', true), ''), session_user::text), action, doc, parent, digest) $$",
    "CREATE OR REPLACE FUNCTION DocAudit_DocInsert() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
    "SET search_path FROM CURRENT AS $$ BEGIN "
    "IF EXISTS (SELECT 1 FROM DocsTrash WHERE Sys_GUID = NEW.Sys_GUID) THEN "
    "PERFORM DocAudit_Note('restored', NEW.Sys_GUID, NULL, (SELECT Sha256 FROM DocsTrash WHERE Sys_GUID = "
    "NEW.Sys_GUID)); "
    "ELSE PERFORM DocAudit_Note('stored', NEW.Sys_GUID, NULL, encode(sha256(NEW.Data), 'hex')); END IF; "
    "RETURN NULL; END $$",
    // Content streamed in after its row was written without it completes the entry that row
    // made, while that entry is still unsealed: it is one store, restore or replacement.
    "CREATE OR REPLACE FUNCTION DocAudit_DocReplace() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
    "SET search_path FROM CURRENT AS $$ DECLARE last DocAudit%ROWTYPE; BEGIN "
    "SELECT * INTO last FROM DocAudit WHERE Doc = NEW.Sys_GUID ORDER BY Id DESC LIMIT 1; "
    "IF OLD.Data IS NULL AND last.Entry IS NULL AND last.Action IN ('stored', 'restored', 'replaced') "
    "THEN UPDATE DocAudit SET Sha256 = coalesce(Sha256, encode(sha256(NEW.Data), 'hex')) WHERE Id = last.Id; "
    "ELSE PERFORM DocAudit_Note('replaced', NEW.Sys_GUID, NULL, encode(sha256(NEW.Data), 'hex')); END IF; "
    "RETURN NULL; END $$",
    "CREATE OR REPLACE FUNCTION DocAudit_DocEdit() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
    "SET search_path FROM CURRENT AS $$ BEGIN PERFORM DocAudit_Note('edited', NEW.Sys_GUID, NULL, NULL); "
    "RETURN NULL; END $$",
    "CREATE OR REPLACE FUNCTION DocAudit_DocDelete() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
    "SET search_path FROM CURRENT AS $$ BEGIN PERFORM DocAudit_Note(CASE WHEN EXISTS "
    "(SELECT 1 FROM DocsTrash WHERE Sys_GUID = OLD.Sys_GUID) THEN 'removed' ELSE 'purged' END, OLD.Sys_GUID, NULL, "
    "NULL); "
    "RETURN NULL; END $$",
    "CREATE OR REPLACE FUNCTION DocAudit_TrashDelete() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
    "SET search_path FROM CURRENT AS $$ BEGIN "
    "IF NOT EXISTS (SELECT 1 FROM Docs WHERE Sys_GUID = OLD.Sys_GUID) THEN "
    "PERFORM DocAudit_Note('purged', OLD.Sys_GUID, NULL, NULL); END IF; RETURN NULL; END $$",
    // A link changed in place is the old one undone and the new one made.
    "CREATE OR REPLACE FUNCTION DocAudit_Link() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
    "SET search_path FROM CURRENT AS $$ BEGIN "
    "IF TG_OP IN ('DELETE', 'UPDATE') THEN PERFORM DocAudit_Note('unlinked', OLD.FK_Doc, OLD.FK_Parent, NULL); END IF; "
    "IF TG_OP IN ('INSERT', 'UPDATE') THEN PERFORM DocAudit_Note('linked', NEW.FK_Doc, NEW.FK_Parent, NULL); END IF; "
    "RETURN NULL; END $$",
    "CREATE OR REPLACE TRIGGER DocAudit_DocInsert AFTER INSERT ON Docs FOR EACH ROW EXECUTE FUNCTION "
    "DocAudit_DocInsert()",
    "CREATE OR REPLACE TRIGGER DocAudit_DocReplace AFTER UPDATE OF Data ON Docs FOR EACH ROW "
    "EXECUTE FUNCTION DocAudit_DocReplace()",
    "CREATE OR REPLACE TRIGGER DocAudit_DocDelete AFTER DELETE ON Docs FOR EACH ROW EXECUTE FUNCTION "
    "DocAudit_DocDelete()",
    "CREATE OR REPLACE TRIGGER DocAudit_TrashDelete AFTER DELETE ON DocsTrash FOR EACH ROW "
    "EXECUTE FUNCTION DocAudit_TrashDelete()",
    "CREATE OR REPLACE TRIGGER DocAudit_LinkInsertDelete AFTER INSERT OR DELETE ON DocLink FOR EACH ROW "
    "EXECUTE FUNCTION DocAudit_Link()",
    "CREATE OR REPLACE TRIGGER DocAudit_LinkUpdate AFTER UPDATE ON DocLink FOR EACH ROW WHEN "
    "(OLD.* IS DISTINCT FROM NEW.*) EXECUTE FUNCTION DocAudit_Link()",
};

QStringList postgreSqlAudit() {
    QStringList statements;
    for (const char* statement : PostgreSqlAudit) statements << QString::fromUtf8(statement);
    statements << QStringLiteral(
                      "CREATE OR REPLACE TRIGGER DocAudit_DocEdit AFTER UPDATE OF %1 ON Docs FOR EACH ROW "
                      "WHEN (%2) EXECUTE FUNCTION DocAudit_DocEdit()")
                      .arg(editedColumnList(), anyEditedColumnChanged(QStringLiteral("IS DISTINCT FROM")));
    return statements;
}

}  // namespace

QStringList AuditSchema(Connection::Engine engine) {
    return engine == Connection::Engine::Sqlite ? sqliteAudit() : postgreSqlAudit();
}

}  // namespace dorvanel
