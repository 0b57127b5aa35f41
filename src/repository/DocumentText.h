#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QStringList>

namespace dorvanel {

class Connection;

/// @file
/// The words inside the documents' contents, kept in the table DocText beside Docs (createSchema
/// makes it) and searched by findDocumentsByWords together with the name, description and
/// keywords. Deleting a document, or changing its content, removes its text.

/// Records the text read from the document's content, replacing any it had, and puts it in the
/// word index, in a transaction of its own (or a savepoint of the one open). An empty text with
/// a note records that the content was read and gave none, and why. A text longer than
/// 1,000,000 characters keeps its first 1,000,000; a NUL in it counts as a blank. A key that
/// names no document records nothing. Raises Error when the database refuses it.
DORVANEL_EXPORT void storeDocumentText(Connection& connection, const QString& guid, const QString& text,
                                       const QString& note = {});
/// The keys of the documents holding content (not outside references) whose text has not been
/// recorded, oldest first.
DORVANEL_EXPORT QStringList documentsWithoutText(Connection& connection);
/// The keys of every document holding content (not outside references), oldest first: those
/// whose text may be read.
DORVANEL_EXPORT QStringList documentsWithContent(Connection& connection);

}  // namespace dorvanel
