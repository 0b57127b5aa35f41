#pragma once

#include <QStringList>

namespace dorvanel {

class Connection;

// The SQLite word index over the documents' names, descriptions and keywords (FTS5).
//
// FTS5 writes a segment of its index at every commit, and the component commits every document
// it stores on its own: indexing each row as it comes would add about half again to a small
// document's store. So a new or changed row is only queued (DocWordsPending), and the queue goes
// into the index in one piece when it is full, inside the statement that fills it. A search
// finds the queued rows through a small index of them that it makes in the connection's
// temporary memory (IndexQueuedWords). The index holds its own copy of the words it indexes, so
// it agrees with itself (FTS5's integrity-check) at every moment, queued rows or not.

// The statements that make the index, its queue and the triggers that keep both in step with
// Docs, for rows a host writes with plain SQL too (INSERT OR REPLACE included). Run on a
// database that has them already, they replace its triggers with these and lose nothing.
QStringList WordIndexSchema();

// Whether the database has the index these statements make (not none, nor an earlier
// version's, which read its words from Docs).
bool HasCurrentWordIndex(Connection& connection);

// The statements that drop whatever index and queue there are and make them anew, filled with
// the rows Docs holds.
QStringList WordIndexBuild();

// Makes the queued rows findable on this connection: fills temp.DocWordsRecent with their words
// (rowid Sys_PK). False when the database has no queue: one made by an earlier version, whose
// triggers index every row as it comes.
bool IndexQueuedWords(Connection& connection);

}  // namespace dorvanel
