#include "repository/DocumentTextSchema.h"

namespace dorvanel {

namespace {

const QString Tokenizer = QStringLiteral("tokenize='unicode61 remove_diacritics 2'");

// DocTextWords as DocText's triggers keep it: they hand it the values it indexed to take out.
const QString IndexNew =
    QStringLiteral("INSERT INTO DocTextWords (rowid, Fields, Text) VALUES (NEW.Sys_PK, NEW.Fields, NEW.Text);");
const QString UnindexOld = QStringLiteral(
    "INSERT INTO DocTextWords (DocTextWords, rowid, Fields, Text) VALUES ('delete', OLD.Sys_PK, OLD.Fields, "
    "OLD.Text);");
const QString ForgetText = QStringLiteral("DELETE FROM DocText WHERE Sys_PK = OLD.Sys_PK;");
const QString CopyFields = QStringLiteral("UPDATE DocText SET Fields = %1 WHERE Sys_PK = NEW.Sys_PK;")
                               .arg(DocumentFieldsSql(QStringLiteral("NEW")));

QStringList sqliteSchema(const QString& now) {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocText (Sys_PK INTEGER PRIMARY KEY, Fields TEXT NOT NULL, "
                       "Text TEXT NOT NULL, ReadAt TEXT NOT NULL DEFAULT (%1), Note TEXT)")
            .arg(now),
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS DocTextWords USING fts5(Fields, Text, content='DocText', "
                       "content_rowid='Sys_PK', prefix='2 3 4', %1)")
            .arg(Tokenizer),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocText_Index AFTER INSERT ON DocText BEGIN %1 END").arg(IndexNew),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocText_Unindex AFTER DELETE ON DocText BEGIN %1 END")
            .arg(UnindexOld),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocText_Reindex AFTER UPDATE ON DocText BEGIN %1 %2 END")
            .arg(UnindexOld, IndexNew),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocText_Forget AFTER DELETE ON Docs BEGIN %1 END").arg(ForgetText),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocText_Refill AFTER UPDATE OF Sys_PK, Data ON Docs BEGIN %1 END")
            .arg(ForgetText),
        // A row INSERT OR REPLACE put in place of another with its Sys_PK, whose delete fired no
        // trigger, holds other content. (One that replaced a row by its Sys_GUID has a Sys_PK of
        // its own: the old text is then joined to no document, and rebuilding removes it.)
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocText_Replaced AFTER INSERT ON Docs BEGIN "
                       "DELETE FROM DocText WHERE Sys_PK = NEW.Sys_PK; END"),
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS DocText_Fields AFTER UPDATE OF Name, Description, Works ON Docs BEGIN %1 END")
            .arg(CopyFields),
    };
}

// A trigger rather than a foreign key, as for DocDigests, so that Docs stays as free to change
// as before (TRUNCATE included).
QStringList postgreSqlSchema(const QString& now) {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocText (Sys_PK integer PRIMARY KEY, Fields text NOT NULL, "
                       "Text text NOT NULL, Words tsvector GENERATED ALWAYS AS "
                       "(to_tsvector('spanish', Docs_Fold(Fields || ' ' || Text))) STORED, "
                       "ReadAt timestamp(3) NOT NULL DEFAULT %1, Note text)")
            .arg(now),
        QStringLiteral("CREATE INDEX IF NOT EXISTS DocText_Words ON DocText USING gin (Words)"),
        QStringLiteral("CREATE OR REPLACE FUNCTION DocText_Forget() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN %1 RETURN NULL; END $$")
            .arg(ForgetText),
        QStringLiteral("CREATE OR REPLACE TRIGGER DocText_Forget AFTER DELETE OR UPDATE OF Sys_PK, Data ON Docs "
                       "FOR EACH ROW EXECUTE FUNCTION DocText_Forget()"),
        QStringLiteral("CREATE OR REPLACE FUNCTION DocText_Fields() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN %1 RETURN NULL; END $$")
            .arg(CopyFields),
        QStringLiteral("CREATE OR REPLACE TRIGGER DocText_Fields AFTER UPDATE OF Name, Description, Works ON Docs "
                       "FOR EACH ROW EXECUTE FUNCTION DocText_Fields()"),
    };
}

// The condition that a document's GUID (row naming OLD or NEW) is in the trash: while it is, the
// row is being moved to the trash or back, and keeps its text.
QString trashed(const QString& row) {
    return QStringLiteral("EXISTS (SELECT 1 FROM DocsTrash WHERE Sys_GUID = %1.Sys_GUID)").arg(row);
}

// SQLite's triggers name their tables when a statement on Docs is prepared, so those that read
// DocsTrash are made only once it exists, replacing the ones made without it.
QStringList sqliteKeepingTrashed() {
    const QString keep = QStringLiteral(" WHEN NOT %1 BEGIN %2 END");
    return {
        QStringLiteral("DROP TRIGGER IF EXISTS DocText_Forget"),
        QStringLiteral("CREATE TRIGGER DocText_Forget AFTER DELETE ON Docs") +
            keep.arg(trashed(QStringLiteral("OLD")), ForgetText),
        QStringLiteral("DROP TRIGGER IF EXISTS DocText_Refill"),
        QStringLiteral("CREATE TRIGGER DocText_Refill AFTER UPDATE OF Sys_PK, Data ON Docs") +
            keep.arg(trashed(QStringLiteral("NEW")), ForgetText),
        QStringLiteral("DROP TRIGGER IF EXISTS DocText_Replaced"),
        QStringLiteral("CREATE TRIGGER DocText_Replaced AFTER INSERT ON Docs") +
            keep.arg(trashed(QStringLiteral("NEW")), QStringLiteral("DELETE FROM DocText WHERE Sys_PK = NEW.Sys_PK;")),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS DocText_Purged AFTER DELETE ON DocsTrash WHEN NOT EXISTS "
                       "(SELECT 1 FROM Docs WHERE Sys_GUID = OLD.Sys_GUID) BEGIN %1 END")
            .arg(ForgetText),
    };
}

// PL/pgSQL plans a statement when it first runs it, so the function keeps working should the
// trash's table be dropped.
QStringList postgreSqlKeepingTrashed() {
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION DocText_Forget() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN IF to_regclass('docstrash') IS NOT NULL THEN IF %1 THEN RETURN NULL; END IF; "
                       "END IF; %2 RETURN NULL; END $$")
            .arg(trashed(QStringLiteral("OLD")), ForgetText),
        QStringLiteral("CREATE OR REPLACE FUNCTION DocText_Purged() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN IF NOT EXISTS (SELECT 1 FROM Docs WHERE Sys_GUID = OLD.Sys_GUID) THEN %1 END IF; "
                       "RETURN NULL; END $$")
            .arg(ForgetText),
        QStringLiteral("CREATE OR REPLACE TRIGGER DocText_Purged AFTER DELETE ON DocsTrash "
                       "FOR EACH ROW EXECUTE FUNCTION DocText_Purged()"),
    };
}

}  // namespace

QStringList DocumentTextKeepingTrashed(Connection::Engine engine) {
    return engine == Connection::Engine::Sqlite ? sqliteKeepingTrashed() : postgreSqlKeepingTrashed();
}

QString DocumentFieldsSql(const QString& row) {
    return QStringLiteral(
               "coalesce(%1.Name, '') || ' ' || coalesce(%1.Description, '') || ' ' || coalesce(%1.Works, '')")
        .arg(row);
}

QStringList DocumentTextSchema(Connection::Engine engine, const QString& now) {
    return engine == Connection::Engine::Sqlite ? sqliteSchema(now) : postgreSqlSchema(now);
}

QStringList DocumentTextIndexBuild(Connection::Engine engine, bool withTrash) {
    const QString fields = DocumentFieldsSql(QStringLiteral("d"));
    return {
        QStringLiteral("DELETE FROM DocText WHERE Sys_PK NOT IN (SELECT Sys_PK FROM Docs)") +
            (withTrash ? QStringLiteral(" AND Sys_PK NOT IN (SELECT Sys_PK FROM DocsTrash)") : QString()),
        QStringLiteral(
            "UPDATE DocText SET Fields = %1 FROM Docs d WHERE d.Sys_PK = DocText.Sys_PK AND DocText.Fields <> %1")
            .arg(fields),
        engine == Connection::Engine::Sqlite
            ? QStringLiteral("INSERT INTO DocTextWords (DocTextWords) VALUES ('rebuild')")
            : QStringLiteral("REINDEX INDEX DocText_Words"),
    };
}

}  // namespace dorvanel
