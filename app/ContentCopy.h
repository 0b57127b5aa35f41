#pragma once

#include <QString>
#include <string_view>

namespace dorvanel::cli {

// Copies a file's bytes a chunk at a time, so that a large document never sits in memory
// whole. A failure raises Error::FileFailed.
void copyToFile(const QString& source, const QString& target);
void copyToStandardOutput(const QString& source);
// Writes the bytes to standard output as they are; a failure raises Error::FileFailed.
void writeToStandardOutput(std::string_view bytes);

}  // namespace dorvanel::cli
