#pragma once

#include <QString>
#include <QStringList>

namespace dorvanel::cli {

// The parent keys of a file (list --parents-from), one a line; blank lines are skipped. Raises
// Error when the file cannot be read, and when it holds no key, as listing no parents would
// list every document.
QStringList keysInFile(const QString& path);

}  // namespace dorvanel::cli
