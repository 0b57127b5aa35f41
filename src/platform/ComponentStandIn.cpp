#include "platform/ComponentFile.h"

namespace dorvanel::ComponentFile {

// A program linked with the component's objects (a test, a benchmark) stands in for the shipped
// library: it uses that library's folder, name and resources, and writes its work files there.
QString libraryPath() { return QStringLiteral(DORVANEL_LIBRARY_FILE); }

}  // namespace dorvanel::ComponentFile
