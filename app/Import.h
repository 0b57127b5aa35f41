#pragma once

#include <QString>
#include <QTextStream>

namespace dorvanel::cli {

class Session;

// Stores every regular file of folder (not its subfolders), in name order, and links each
// to parent. Prints "KEY  file" per document on out; progress and a summary go to standard
// error. A failure stops the import; what was stored until then stays. With once, a file
// whose content is already stored links the document that holds it instead (see storeOnce).
void importFolder(Session& session, QTextStream& out, const QString& folder, const QString& parent,
                  const QString& parentType, bool once = false);

}  // namespace dorvanel::cli
