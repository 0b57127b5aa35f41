#include "platform/NewFile.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace dorvanel {

namespace {

Error writeError(const QString& path, const QString& why) {
    return Error(Error::FileFailed, QStringLiteral("No se pudo escribir el archivo %1: %2").arg(path, why));
}

Error writeError(const QString& path, const QFileDevice& file) { return writeError(path, DeviceErrorText(file)); }

// Those of the file at path, or those the process's mask leaves a new file.
mode_t usualPermissions(const QString& path) {
    struct stat replaced {};
    if (::stat(QFile::encodeName(path).constData(), &replaced) == 0) return replaced.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

NewFile::NewFile(const QString& path, Access access) : path_(path), partial_(path + QStringLiteral(".XXXXXX")) {
    errno = 0;
    if (!partial_.open()) throw writeError(path_, partial_);
    // A temporary file is made for its owner only.
    if (access == Access::AsUsual && ::fchmod(partial_.handle(), usualPermissions(path_)) != 0)
        throw writeError(path_, SystemErrorText(errno));
}

void NewFile::write(const char* data, qint64 length) {
    errno = 0;
    if (partial_.write(data, length) != length) throw writeError(path_, partial_);
}

void NewFile::commit() {
    errno = 0;
    if (!partial_.flush()) throw writeError(path_, partial_);
    partial_.close();
    if (std::rename(QFile::encodeName(partial_.fileName()).constData(), QFile::encodeName(path_).constData()) != 0)
        throw writeError(path_, SystemErrorText(errno));
    partial_.setAutoRemove(false);
}

}  // namespace dorvanel
