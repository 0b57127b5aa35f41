#include "parsers/PictureDocument.h"

#include "parsers/Miniature.h"

#include <QBuffer>
#include <QImageReader>

namespace dorvanel::extractor {

namespace {

// A picture's pixels as its header claims them are checked before anything is decoded: 50
// million pixels (a 200 MiB image in memory) is beyond any camera a document comes from, and a
// header that lies must not make the decoder ask for gigabytes.
constexpr qint64 MostPixels = 50'000'000;
// Qt's own refusal for any single image, thumbnails and frames included, in MiB: above the
// largest picture accepted, decoded whole by a format that cannot decode at reduced size.
constexpr int DecoderAllocationLimitMiB = 256;

bool turnsSideways(QImageIOHandler::Transformations transformation) {
    return transformation.testFlag(QImageIOHandler::TransformationRotate90);
}

QString refused(const QString& why) {
    return QStringLiteral("No se puede hacer la miniatura de la imagen: %1").arg(why);
}

}  // namespace

QImage pictureMiniature(const QByteArray& bytes, QString& note) {
    QImageReader::setAllocationLimit(DecoderAllocationLimitMiB);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid()) {
        note = refused(reader.errorString());
        return {};
    }
    if (qint64(stored.width()) * stored.height() > MostPixels) {
        note = refused(QStringLiteral("%1 x %2 píxeles es demasiado").arg(stored.width()).arg(stored.height()));
        return {};
    }
    // The size the reader gives is the stored one; the miniature is of the picture as shown.
    const bool sideways = turnsSideways(reader.transformation());
    const std::optional<QSize> miniature = miniatureSize(sideways ? stored.transposed() : stored);
    if (!miniature) {
        note = refused(
            QStringLiteral("%1 x %2 píxeles no tiene forma de miniatura").arg(stored.width()).arg(stored.height()));
        return {};
    }
    reader.setScaledSize(sideways ? miniature->transposed() : *miniature);
    const QImage decoded = reader.read();
    if (decoded.isNull()) {
        note = refused(reader.errorString());
        return {};
    }
    return miniatureOf(decoded);
}

Extraction pictureExtraction(const QByteArray& bytes, const Wanted& wanted) {
    Extraction extraction;
    if (wanted.miniature) extraction.miniature = pictureMiniature(bytes, extraction.note);
    return extraction;
}

}  // namespace dorvanel::extractor
