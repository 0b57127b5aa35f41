#include "platform/NewFile.h"

#include "platform/Error.h"

#include <cstdio>

namespace dorvanel {

namespace {

Error writeError(const QString& path, const QFileDevice& file, int code) {
    return SystemError(Error::FileFailed,
                       QStringLiteral("No se pudo escribir el archivo %1: %2").arg(path, DeviceErrorText(file, code)),
                       code);
}

}  // namespace

NewFile::NewFile(const QString& path) : path_(path), partial_(path + QStringLiteral(".XXXXXX")) {
    if (const auto code = FailedCall([&] { return partial_.open(); })) throw writeError(path_, partial_, *code);
}

void NewFile::write(const char* data, qint64 length) {
    if (const auto code = FailedCall([&] { return partial_.write(data, length) == length; }))
        throw writeError(path_, partial_, *code);
}

void NewFile::commit() {
    if (const auto code = FailedCall([&] { return partial_.flush(); })) throw writeError(path_, partial_, *code);
    partial_.close();
    const auto renamed = [&] {
        return std::rename(QFile::encodeName(partial_.fileName()).constData(), QFile::encodeName(path_).constData()) ==
               0;
    };
    if (const auto code = FailedCall(renamed)) throw writeError(path_, partial_, *code);
    partial_.setAutoRemove(false);
}

}  // namespace dorvanel
