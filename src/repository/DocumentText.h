#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QStringList>

namespace dorvanel {

class Connection;

/// @file
/// The words inside the documents' contents, kept beside Docs and searched by
/// findDocumentsByWords together with the name, description and keywords.

/// Records the text read from the document's content, replacing any it had, and puts it in the
/// word index. An empty text with a note records that the content was read and gave none, and
/// why.
DORVANEL_EXPORT void storeDocumentText(Connection& connection, const QString& guid, const QString& text,
                                       const QString& note = {});
/// The keys of the documents holding content whose text has not been recorded, oldest first.
DORVANEL_EXPORT QStringList documentsWithoutText(Connection& connection);

}  // namespace dorvanel
