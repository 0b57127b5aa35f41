#pragma once

#include <QByteArray>

namespace dorvanel::bench {

class RawDatabase;

// Inserts documents with one link each, the parents ParentKey(0) ... ParentKey(parents - 1)
// taking turns, so that one parent's documents lie spread over the table as they do after
// years of use. Texts are about as long as a user's; the content is a small random BLOB.
void InsertListedDocuments(RawDatabase& database, int documents, int parents);

// Reads every row of the statement with the raw C API, every column as text, as a list that
// shows them must; gives the row count and adds the texts' bytes to textBytes.
int ReadRowsAsText(const RawDatabase& database, const QByteArray& sql, qint64& textBytes);

}  // namespace dorvanel::bench
