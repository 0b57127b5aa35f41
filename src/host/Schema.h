#pragma once

#include "dorvanel_export.h"

namespace dorvanel {

class Connection;

/// Creates the relations the component works on (Docs, DocLink, the view DocLinks, the
/// view qryJoin, their indexes and the time-stamp trigger) unless they exist already, with
/// what sits beside them: the word index over the documents' names, descriptions and keywords,
/// the table DocDigests of their contents' digests and the table DocText of the text read from
/// their contents, with its word index. A database made without these gets
/// them, the word index filled with the documents it already holds.
DORVANEL_EXPORT void createSchema(Connection& connection);

/// Makes the word index anew from what Docs holds, on a database createSchema made: on SQLite
/// the index with its queue and triggers, on PostgreSQL the index over the three columns; and
/// the index of the contents' texts from DocText, without the texts of documents that are gone.
DORVANEL_EXPORT void rebuildWordIndex(Connection& connection);

}  // namespace dorvanel
