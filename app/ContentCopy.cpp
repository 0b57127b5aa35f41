#include "ContentCopy.h"

#include <Dorvanel/Error.h>

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>

namespace dorvanel::cli {

namespace {

constexpr qint64 ChunkSize = 64 * 1024;

[[noreturn]] void failOn(const QIODevice& device, const QString& name) {
    throw Error(Error::FileFailed, QStringLiteral("No se pudo copiar %1: %2").arg(name, device.errorString()));
}

void openOrFail(QIODevice& device, QIODevice::OpenMode mode, const QString& name) {
    if (!device.open(mode)) failOn(device, name);
}

void copyChunks(const QString& source, QIODevice& target, const QString& targetName) {
    QFile from(source);
    openOrFail(from, QIODevice::ReadOnly, source);
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    while (!from.atEnd()) {
        const qint64 read = from.read(chunk.data(), ChunkSize);
        if (read < 0) failOn(from, source);
        if (target.write(chunk.constData(), read) != read) failOn(target, targetName);
    }
}

}  // namespace

void copyToFile(const QString& source, const QString& target) {
    const QString name = QStringLiteral("a %1").arg(target);
    QSaveFile to(target);
    openOrFail(to, QIODevice::WriteOnly, name);
    copyChunks(source, to, name);
    if (!to.commit()) failOn(to, name);
}

void copyToStandardOutput(const QString& source) {
    const QString name = QStringLiteral("a la salida estándar");
    QFile to;
    if (!to.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)) failOn(to, name);
    copyChunks(source, to, name);
    if (!to.flush()) failOn(to, name);
}

void writeToStandardOutput(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw Error(Error::FileFailed,
                    QStringLiteral("No se pudo escribir a la salida estándar: %1").arg(qt_error_string(errno)));
}

}  // namespace dorvanel::cli
