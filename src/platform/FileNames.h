#pragma once

#include <QString>

namespace dorvanel {

// folder + "/" + fileName, where fileName can never lead out of folder: path separators and
// NUL characters inside it become "_". An ordinary name is joined unchanged.
QString fileInFolder(const QString& folder, const QString& fileName);

}  // namespace dorvanel
