#pragma once

#include "dorvanel_export.h"

#include <QString>

namespace dorvanel {

/// The miniature the add-document dialog makes of a file, made on a surface of its own: the
/// path of the bitmap to store with the document, or "" when the file is not a picture or holds
/// none that can be read. A host that stores documents without the dialog hands the path to
/// StoreDocument as its miniature.
DORVANEL_EXPORT QString makeMiniatureFile(const QString& sFile);

}  // namespace dorvanel
