#pragma once

#include <QString>

namespace dorvanel::cli {

// Copies a file's bytes a chunk at a time, so that a large document never sits in memory
// whole. A failure raises Error::FileFailed.
void copyToFile(const QString& source, const QString& target);
void copyToStandardOutput(const QString& source);

}  // namespace dorvanel::cli
