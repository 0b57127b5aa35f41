#pragma once

#include <QString>
#include <functional>
#include <string_view>

class QIODevice;

namespace dorvanel::cli {

// Writes content to target as it comes, naming target as a message would (targetName).
using ContentWriter = std::function<void(QIODevice& target, const QString& targetName)>;

// A regular file (or a new one) at path appears, replacing any older one, only once it is
// complete: it is written under a temporary name beside it and then renamed. Anything else
// there (a FIFO, a device) is written to directly. A failure raises Failure.
void writeToFile(const QString& path, const ContentWriter& write);
void writeToStandardOutput(const ContentWriter& write);
// Writes the bytes to standard output as they are, in one go.
void writeBytesToStandardOutput(std::string_view bytes);

}  // namespace dorvanel::cli
