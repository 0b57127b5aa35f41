#pragma once

#include <QString>

namespace dorvanel {

// folder + "/" + fileName, where fileName can never lead out of folder: path separators and
// NUL characters inside it become "_", and so do the dots of a name that is "." or "..". An
// ordinary name is joined unchanged.
QString fileInFolder(const QString& folder, const QString& fileName);

}  // namespace dorvanel
