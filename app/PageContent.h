#pragma once

#include "ContentCopy.h"

#include <QString>

namespace dorvanel::cli {

// Writes a document's content for a download page of the command-line host and gives the
// file's path. Each page gets a content of its own, so that a page printed for later still
// delivers its document whatever is downloaded after it: a new folder in workFolder (the
// owner's only) holds the file, named after the document with its type, so that saving it
// proposes the document's name, and readable by its owner only. A failure leaves neither.
QString writePageContent(const QString& workFolder, const QString& documentName, const QString& type,
                         const ContentWriter& write);

}  // namespace dorvanel::cli
