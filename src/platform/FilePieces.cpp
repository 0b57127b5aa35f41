#include "platform/FilePieces.h"

#include "platform/BlobStreaming.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <QFile>

namespace dorvanel {

namespace {

Error readError(const QFile& file, int code) {
    return systemError(Error::FileFailed,
                       QCoreApplication::translate("dorvanel::FilePieces", "No se pudo leer el archivo %1: %2")
                           .arg(file.fileName(), deviceErrorText(file, code)),
                       code);
}

}  // namespace

void openToRead(QFile& file) {
    if (const auto code = failedCall([&] { return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered); }))
        throw readError(file, *code);
}

bool readFilePieces(QFile& file, const FilePiece& piece) {
    QByteArray buffer(BlobStreaming::ChunkSize, Qt::Uninitialized);
    for (;;) {
        qint64 read = 0;
        if (const auto code = failedCall([&] { return (read = file.read(buffer.data(), buffer.size())) >= 0; }))
            throw readError(file, *code);
        if (read == 0) return true;
        if (!piece(buffer.constData(), read)) return false;
    }
}

}  // namespace dorvanel
