#include "repository/WordIndex.h"

#include "platform/Connection.h"

namespace dorvanel {

namespace {

// Rows queued before the queue goes into the index: each store then writes one small row, and
// the index takes a segment per 64 documents instead of one per document. A search indexes the
// queued rows again every time (some 10 µs a row), so a longer queue would slow every search.
constexpr int QueueCapacity = 64;

const QString IndexedColumns = QStringLiteral("Name, Description, Works");

const QString Tokenizer = QStringLiteral("tokenize='unicode61 remove_diacritics 2'");

// Takes OLD out of the index, or out of the queue while it waits there.
const QString ForgetOld = QStringLiteral(
    "INSERT INTO DocWords (DocWords, rowid, Name, Description, Works) "
    "SELECT 'delete', OLD.Sys_PK, OLD.Name, OLD.Description, OLD.Works "
    "WHERE NOT EXISTS (SELECT 1 FROM DocWordsPending WHERE Sys_PK = OLD.Sys_PK); "
    "DELETE FROM DocWordsPending WHERE Sys_PK = OLD.Sys_PK;");

const QString QueueNew = QStringLiteral("INSERT OR IGNORE INTO DocWordsPending (Sys_PK) VALUES (NEW.Sys_PK);");

const QString IndexQueue = QStringLiteral(
    "INSERT INTO DocWords (rowid, Name, Description, Works) "
    "SELECT d.Sys_PK, d.Name, d.Description, d.Works FROM DocWordsPending p JOIN Docs d ON d.Sys_PK = p.Sys_PK; "
    "DELETE FROM DocWordsPending;");

const char* const Triggers[] = {"DocWords_Insert", "DocWords_Delete", "DocWords_Update", "DocWords_IndexQueue"};

}  // namespace

QStringList WordIndexSchema() {
    QStringList statements{
        // No table of column sizes: ranking counts a found row's words again instead, which
        // costs little for a short text and spares the index's writes a tree.
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS DocWords USING fts5(%1, content='Docs', "
                       "content_rowid='Sys_PK', columnsize=0, %2)")
            .arg(IndexedColumns, Tokenizer),
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocWordsPending (Sys_PK INTEGER PRIMARY KEY)"),
    };
    // An earlier version's triggers indexed each row at once; these take their place.
    for (const char* trigger : Triggers) statements << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger);
    statements << QStringLiteral("CREATE TRIGGER DocWords_Insert AFTER INSERT ON Docs BEGIN %1 END").arg(QueueNew)
               << QStringLiteral("CREATE TRIGGER DocWords_Delete AFTER DELETE ON Docs BEGIN %1 END").arg(ForgetOld)
               << QStringLiteral("CREATE TRIGGER DocWords_Update AFTER UPDATE OF Sys_PK, %1 ON Docs BEGIN %2 %3 END")
                      .arg(IndexedColumns, ForgetOld, QueueNew)
               << QStringLiteral(
                      "CREATE TRIGGER DocWords_IndexQueue AFTER INSERT ON DocWordsPending "
                      "WHEN (SELECT count(*) FROM DocWordsPending) >= %1 BEGIN %2 END")
                      .arg(QueueCapacity)
                      .arg(IndexQueue);
    return statements;
}

QStringList WordIndexFill() {
    return {QStringLiteral("INSERT INTO DocWords (DocWords) VALUES ('rebuild')"),
            QStringLiteral("DELETE FROM DocWordsPending")};
}

bool IndexQueuedWords(Connection& connection) {
    if (!connection.HasTable(QStringLiteral("DocWordsPending"))) return false;
    // Without content of its own, it is emptied at once rather than row by row.
    connection.Execute(
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS temp.DocWordsRecent USING fts5(%1, content='', %2)")
            .arg(IndexedColumns, Tokenizer));
    connection.Execute(QStringLiteral("INSERT INTO temp.DocWordsRecent (DocWordsRecent) VALUES ('delete-all')"));
    connection.Execute(QStringLiteral("INSERT INTO temp.DocWordsRecent (rowid, %1) "
                                      "SELECT d.Sys_PK, d.Name, d.Description, d.Works "
                                      "FROM main.DocWordsPending p JOIN main.Docs d ON d.Sys_PK = p.Sys_PK")
                           .arg(IndexedColumns));
    return true;
}

}  // namespace dorvanel
