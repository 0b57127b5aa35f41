#include "platform/NewFile.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace dorvanel {

namespace {

Error writeError(const QString& path, const QString& why) {
    return Error(Error::FileFailed, QStringLiteral("No se pudo escribir el archivo %1: %2").arg(path, why));
}

}  // namespace

NewFile::NewFile(const QString& path) : path_(path), partial_(path + QStringLiteral(".XXXXXX")) {
    if (!partial_.open()) throw writeError(path_, partial_.errorString());
}

void NewFile::write(const char* data, qint64 length) {
    if (partial_.write(data, length) != length) throw writeError(path_, partial_.errorString());
}

void NewFile::commit() {
    if (!partial_.flush()) throw writeError(path_, partial_.errorString());
    partial_.close();
    if (std::rename(QFile::encodeName(partial_.fileName()).constData(), QFile::encodeName(path_).constData()) != 0)
        throw writeError(path_, QString::fromLocal8Bit(std::strerror(errno)));
    partial_.setAutoRemove(false);
}

}  // namespace dorvanel
