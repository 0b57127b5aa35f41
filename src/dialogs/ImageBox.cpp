#include "dialogs/ImageBox.h"

#include "platform/Error.h"

#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace dorvanel {

namespace {

constexpr int PlaceholderSide = 94;

QImage drawnPlaceholder() {
    QImage image(PlaceholderSide, PlaceholderSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(160, 160, 160), 2));
    painter.drawRect(QRectF(1, 1, PlaceholderSide - 2, PlaceholderSide - 2));
    const QRectF page(27, 17, 40, 56);
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(page);
    painter.setPen(QPen(QColor(190, 60, 60), 3));
    painter.drawLine(page.topLeft() + QPointF(-6, -4), page.bottomRight() + QPointF(6, 4));
    return image;
}

}  // namespace

ImageBox::ImageBox(QWidget* parent) : QLabel(parent) {
    setScaledContents(true);
    setAlignment(Qt::AlignCenter);
}

void ImageBox::Clear() { display(QImage()); }

void ImageBox::LoadPicture(const QString& fileName) {
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        throw Error(Error::FileFailed, tr("No se pudo leer la imagen %1: %2").arg(fileName, reader.errorString()));
    display(picture);
}

void ImageBox::ShowBuiltInPlaceholder() {
    static const QImage placeholder = drawnPlaceholder();
    display(placeholder);
}

void ImageBox::display(const QImage& picture) {
    picture_ = picture;
    setPixmap(QPixmap::fromImage(picture));
}

}  // namespace dorvanel
