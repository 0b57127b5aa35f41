#include "component/WorkFiles.h"

#include "component/Globals.h"

#include <QFile>

#include <sys/stat.h>

#include <cstdio>

#include <optional>
#include <vector>

namespace dorvanel::WorkFiles {

namespace {

// What tells one file from another that later took its name: a file replaced under the same
// name is a new inode, or the same one written again at another time. A folder is told by its
// inode alone, as what it holds changes its time.
struct Identity {
    dev_t device;
    ino_t inode;
    timespec modified;

    bool operator==(const Identity& other) const {
        return device == other.device && inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct MadeFile {
    const Manager* maker;
    QByteArray path;
    Identity identity;
};

// Never destroyed: a Manager that a module-wide reference keeps to the process's end ends after
// every static object, and still removes its files.
std::vector<MadeFile>& madeFiles() {
    static auto* files = new std::vector<MadeFile>;
    return *files;
}

std::optional<Identity> identityOf(const QByteArray& path) {
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0) return std::nullopt;
    if (S_ISDIR(status.st_mode)) return Identity{status.st_dev, status.st_ino, {}};
    if (!S_ISREG(status.st_mode)) return std::nullopt;
    return Identity{status.st_dev, status.st_ino, status.st_mtim};
}

void forget(const QByteArray& path) {
    std::erase_if(madeFiles(), [&](const MadeFile& file) { return file.path == path; });
}

}  // namespace

void Made(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    const std::optional<Identity> identity = identityOf(encoded);
    if (!identity) return;
    // A file written again under its name is remembered once, for its latest maker.
    forget(encoded);
    madeFiles().push_back({gManager.get(), encoded, *identity});
}

void HandedOver(const QString& path) { forget(QFile::encodeName(path)); }

void Remove(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    forget(encoded);
    std::remove(encoded.constData());
}

void RemoveMadeBy(const Manager* maker) {
    std::erase_if(madeFiles(), [&](const MadeFile& file) {
        if (file.maker != maker) return false;
        if (identityOf(file.path) == file.identity) std::remove(file.path.constData());
        return true;
    });
}

}  // namespace dorvanel::WorkFiles
