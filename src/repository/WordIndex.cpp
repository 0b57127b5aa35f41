#include "repository/WordIndex.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

namespace dorvanel {

namespace {

// Rows queued before the queue goes into the index: each store then writes one small row, and
// the index takes a segment per 64 documents instead of one per document. A search indexes the
// queued rows again every time (some 10 µs a row), so a longer queue would slow every search.
constexpr int QueueCapacity = 64;

const QString IndexedColumns = QStringLiteral("Name, Description, Works");

const QString Tokenizer = QStringLiteral("tokenize='unicode61 remove_diacritics 2'");

// The index keeps its own copy of the three columns, so that a row leaves it by its rowid
// alone: a host's INSERT OR REPLACE deletes the row it replaces without any delete trigger
// (unless recursive_triggers is on), and that row's words are then nowhere else to be read.
// Its own copy also keeps FTS5's integrity-check true while rows wait in the queue.
const QString ForgetOld = QStringLiteral(
    "DELETE FROM DocWords WHERE rowid = OLD.Sys_PK; "
    "DELETE FROM DocWordsPending WHERE Sys_PK = OLD.Sys_PK;");

// A row inserted in place of one that REPLACE deleted takes that one's words out first.
const QString QueueNew = QStringLiteral(
    "DELETE FROM DocWords WHERE rowid = NEW.Sys_PK; "
    "INSERT OR IGNORE INTO DocWordsPending (Sys_PK) VALUES (NEW.Sys_PK);");

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
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS DocWords USING fts5(%1, columnsize=0, %2)")
            .arg(IndexedColumns, Tokenizer),
        QStringLiteral("CREATE TABLE IF NOT EXISTS DocWordsPending (Sys_PK INTEGER PRIMARY KEY)"),
    };
    // An earlier version's triggers take their words from elsewhere; these take their place.
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

bool HasCurrentWordIndex(Connection& connection) {
    // An earlier version's index read its words from Docs (content='Docs').
    const auto rows =
        connection.Execute(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = 'DocWords'"));
    return !rows->Eof() && !rows->value(0).toString().contains(QLatin1String("content="), Qt::CaseInsensitive);
}

QStringList WordIndexBuild() {
    return QStringList{QStringLiteral("DROP TABLE IF EXISTS DocWords"),
                       QStringLiteral("DROP TABLE IF EXISTS DocWordsPending")} +
           WordIndexSchema() +
           QStringList{
               QStringLiteral("INSERT INTO DocWords (rowid, %1) SELECT Sys_PK, %1 FROM Docs").arg(IndexedColumns)};
}

bool IndexQueuedWords(Connection& connection) {
    if (!connection.hasTable(QStringLiteral("DocWordsPending"))) return false;
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
