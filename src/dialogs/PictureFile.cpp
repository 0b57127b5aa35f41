#include "dialogs/PictureFile.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QImageReader>

namespace dorvanel {

namespace {

[[noreturn]] void failToRead(const QString& fileName, const QString& reason) {
    throw Error(Error::FileFailed,
                QCoreApplication::translate("dorvanel::PictureFile", "No se puede leer la imagen %1: %2")
                    .arg(fileName, reason));
}

// Qt takes a ".dib" file for a bitmap without its file header, while such files hold a whole
// bitmap file: the content, not the name, tells the format.
void readByContent(QImageReader& reader) { reader.setDecideFormatFromContent(true); }

}  // namespace

PictureFile::PictureFile(const QString& fileName) : fileName_(fileName) {
    QImageReader reader(fileName);
    readByContent(reader);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) failToRead(fileName, reader.errorString());
    size_ = size;
}

QImage PictureFile::decodedAt(const QSize& pixels) const {
    requireLoaded();
    QImageReader reader(fileName_);
    readByContent(reader);
    // Formats that cannot decode at a reduced size are decoded whole and scaled by the reader.
    reader.setScaledSize(pixels);
    QImage image = reader.read();
    if (image.isNull()) failToRead(fileName_, reader.errorString());
    return image;
}

const QSize& PictureFile::size() const {
    requireLoaded();
    return size_;
}

void PictureFile::requireLoaded() const {
    if (size_.isEmpty())
        throw Error(Error::ObjectNotSet,
                    QCoreApplication::translate("dorvanel::PictureFile", "No hay una imagen cargada"));
}

}  // namespace dorvanel
