#include "platform/FileNames.h"

namespace dorvanel {

QString fileInFolder(const QString& folder, const QString& fileName) {
    QString contained = fileName;
    for (QChar& c : contained) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.isNull()) c = QLatin1Char('_');
    }
    // "." and ".." name the folder itself and the one above it.
    if (contained == QLatin1String(".") || contained == QLatin1String("..")) contained.fill(QLatin1Char('_'));
    const bool hasSeparator = folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'));
    return hasSeparator ? folder + contained : folder + QLatin1Char('/') + contained;
}

}  // namespace dorvanel
