#include "platform/NewFile.h"

#include "platform/Error.h"

#include <QCoreApplication>

#include <cstdio>
#include <sys/stat.h>

namespace dorvanel {

namespace {

Error writeError(const QString& path, const QFileDevice& file, int code) {
    return systemError(Error::FileFailed,
                       QCoreApplication::translate("dorvanel::NewFile", "No se pudo escribir el archivo %1: %2")
                           .arg(path, deviceErrorText(file, code)),
                       code);
}

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
    if (const auto code = failedCall([&] { return partial_.open(); })) throw writeError(path_, partial_, *code);
    // A temporary file is made for its owner only.
    if (access != Access::AsUsual) return;
    if (const auto code = failedCall([&] { return ::fchmod(partial_.handle(), usualPermissions(path_)) == 0; }))
        throw writeError(path_, partial_, *code);
}

void NewFile::write(const char* data, qint64 length) {
    if (const auto code = failedCall([&] { return partial_.write(data, length) == length; }))
        throw writeError(path_, partial_, *code);
}

void NewFile::commit() {
    if (const auto code = failedCall([&] { return partial_.flush(); })) throw writeError(path_, partial_, *code);
    partial_.close();
    const auto renamed = [&] {
        return std::rename(QFile::encodeName(partial_.fileName()).constData(), QFile::encodeName(path_).constData()) ==
               0;
    };
    if (const auto code = failedCall(renamed)) throw writeError(path_, partial_, *code);
    partial_.setAutoRemove(false);
}

}  // namespace dorvanel
