#pragma once

#include "dorvanel_export.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dorvanel {

class Connection;

/// @file
/// The miniatures of stored documents (Docs.MiniData), given or made after the document was
/// stored: the browse and find dialogs show a document's miniature whenever it was made.

/// Replaces the miniature of the stored document guid with bmp, a Windows bitmap (an empty
/// one leaves the document without a miniature). Raises Error when no document holding content
/// has that key (an outside document keeps no miniature).
DORVANEL_EXPORT void setDocumentMiniature(Connection& connection, const QString& guid, const QByteArray& bmp);

/// How many of the documents that hold content have a miniature, and how many do not.
struct MiniatureCounts {
    /// With a miniature.
    qint64 with = 0;
    /// Without one: MiniData null or empty.
    qint64 without = 0;
};
/// Counts the documents that hold content by whether they have a miniature.
DORVANEL_EXPORT MiniatureCounts countMiniatures(Connection& connection);
/// The keys of the documents that hold content but no miniature (MiniData null or empty), oldest
/// first.
DORVANEL_EXPORT QStringList documentsWithoutMiniature(Connection& connection);

}  // namespace dorvanel
