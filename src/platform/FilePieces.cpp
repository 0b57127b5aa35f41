#include "platform/FilePieces.h"

#include "platform/BlobStreaming.h"
#include "platform/Error.h"

#include <QFile>
#include <cerrno>

namespace dorvanel {

namespace {

Error readError(const QFile& file) {
    return Error(Error::FileFailed,
                 QStringLiteral("No se pudo leer el archivo %1: %2").arg(file.fileName(), DeviceErrorText(file)));
}

}  // namespace

void openToRead(QFile& file) {
    errno = 0;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) throw readError(file);
}

bool readFilePieces(QFile& file, const FilePiece& piece) {
    QByteArray buffer(BlobStreaming::ChunkSize, Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 read = file.read(buffer.data(), buffer.size());
        if (read < 0) throw readError(file);
        if (read == 0) return true;
        if (!piece(buffer.constData(), read)) return false;
    }
}

}  // namespace dorvanel
