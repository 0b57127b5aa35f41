#include "platform/ComponentFile.h"

#include <dlfcn.h>

namespace dorvanel::ComponentFile {

QString libraryPath() {
    Dl_info info{};
    static const int anchor = 0;
    if (dladdr(&anchor, &info) == 0 || !info.dli_fname) return QString();
    return QString::fromLocal8Bit(info.dli_fname);
}

}  // namespace dorvanel::ComponentFile
