#include "DatabaseFiles.h"

#include "Failure.h"
#include "LocalFile.h"
#include "Texts.h"

#include <sys/stat.h>

namespace dorvanel::cli {

namespace {

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// Whether the two paths name the same file: the same device and inode when either is there,
// otherwise the same name in the same folder.
bool sameFile(const QByteArray& one, const QByteArray& other) {
    struct stat oneStatus {};
    struct stat otherStatus {};
    const bool oneThere = ::stat(one.constData(), &oneStatus) == 0;
    const bool otherThere = ::stat(other.constData(), &otherStatus) == 0;
    if (oneThere || otherThere)
        return oneThere && otherThere && oneStatus.st_dev == otherStatus.st_dev &&
               oneStatus.st_ino == otherStatus.st_ino;
    return nameOf(one) == nameOf(other) && sameFile(folderOf(one), folderOf(other));
}

}  // namespace

void refuseDatabaseFile(const QString& target, const QString& databasePath) {
    const QByteArray targetPath = encodeLocalName(target);
    const QByteArray database = encodeLocalName(databasePath);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        if (!sameFile(targetPath, database + suffix)) continue;
        throw Failure{WrongUsage, Texts::tr("%1 es %2 de la base de datos en uso (%3): escribir ahí la destruiría; "
                                            "elija otro archivo")
                                      .arg(shownName(target),
                                           *suffix ? Texts::tr("el archivo %1").arg(QLatin1String(suffix))
                                                   : Texts::tr("el archivo"),
                                           shownName(databasePath))};
    }
}

}  // namespace dorvanel::cli
