#include "platform/ComponentFile.h"

#include "platform/Version.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace dorvanel::ComponentFile {

namespace {

QFileInfo libraryFile() {
    const QString path = libraryPath();
    return path.isEmpty() ? QFileInfo() : QFileInfo(path);
}

}  // namespace

QString folder() { return QDir::toNativeSeparators(libraryFile().absolutePath()); }

QString baseName() {
    QString name = libraryFile().completeBaseName();
    const int soVersion = name.indexOf(QLatin1String(".so"));
    if (soVersion >= 0) name.truncate(soVersion);
    if (name.startsWith(QLatin1String("lib"))) name.remove(0, 3);
    return name;
}

qint16 versionMajor() { return DORVANEL_VERSION_MAJOR; }
qint16 versionMinor() { return DORVANEL_VERSION_MINOR; }
qint16 versionRevision() { return DORVANEL_VERSION_PATCH; }

QString tempFolder() {
    const QString own = folder();
    if (QFileInfo(own).isWritable()) return own;
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                            QStringLiteral("/Dorvanel");
    QDir().mkpath(perUser);
    return QDir::toNativeSeparators(perUser);
}

}  // namespace dorvanel::ComponentFile
