#pragma once

#include "platform/Connection.h"

#include <QStringList>

namespace dorvanel {

// The table DocText, which keeps the text read from each document's content once, beside Docs,
// and the word index over it.
//
// SQLite: DocText (Sys_PK, Fields, Text, ReadAt, Note) and the FTS5 table DocTextWords, whose
// content is DocText itself (content='DocText'), so the text is never kept twice. Fields is a
// copy of the document's name, description and keywords, kept in step by a trigger on Docs, so
// that one row of DocTextWords holds every word of the document: a query whose words lie some
// in the name and some in the content matches that row alone, with FTS5's own AND, and the
// index can tell apart the rows whose words all lie in the fields (column filter). An
// external-content index deletes a row's words by being told them again; DocText's triggers
// tell it from DocText's own values, which Docs' writes cannot change behind its back, so the
// index agrees with DocText at every moment (a host's INSERT OR REPLACE into Docs included).
//
// The content is indexed when its text is stored, in that statement, and never queued: the
// queue of DocWords is indexed again by every search (temp.DocWordsRecent), which costs
// nothing for a name but would cost megabytes of text at every search. Text is stored apart
// from a document's own store, once it is committed, so its index segment is written once per
// text and never slows the store.
//
// PostgreSQL: DocText (Sys_PK, Fields, Text, Words, ReadAt, Note), Words a stored tsvector of
// the fields and the text (the 'spanish' configuration over Docs_Fold, as Docs_Words), with a
// GIN index: a query's words are all matched there at once, as on SQLite, where combining the
// fields' tsvector with the text's for every row that holds one of the words cost a second
// among 10,000 texts. Stored rather than an expression index, since checking a row found
// through the index (prefixes are checked again) would otherwise parse its whole text again.
//
// The SQLite index keeps prefixes of 2 to 4 characters: a word typed is taken as a prefix, and a
// short one otherwise merges the lists of hundreds of words over every text.
//
// On both engines Fields follows the document's fields through a trigger, and a trigger removes
// a document's text when the document is deleted, or its content or Sys_PK changes (the text no
// longer belongs to it).

// The statements that make the table, its index and triggers unless they exist; now is the SQL
// expression of the current local time. On PostgreSQL they need Docs_Fold.
QStringList DocumentTextSchema(Connection::Engine engine, const QString& now);

// The statements that make the triggers above keep the text of a document moved to the trash
// (its GUID in DocsTrash, which must exist), so that restoring it brings the text back, and
// forget it when the document leaves the trash for good. Run after DocumentTextSchema, every
// time it runs, since that makes the triggers without the trash.
QStringList DocumentTextKeepingTrashed(Connection::Engine engine);

// The SQL of a Docs row's fields as DocText.Fields holds them, row naming that row (NEW, d).
QString DocumentFieldsSql(const QString& row);

// The statements that make the index of the texts anew, without the texts of documents that are
// gone (withTrash: neither in Docs nor in DocsTrash) and with every text's copy of its document's
// fields refreshed.
QStringList DocumentTextIndexBuild(Connection::Engine engine, bool withTrash);

}  // namespace dorvanel
