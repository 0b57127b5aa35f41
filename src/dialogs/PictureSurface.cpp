#include "dialogs/PictureSurface.h"

#include "dialogs/PictureFile.h"
#include "platform/Error.h"
#include "platform/Twips.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <limits>

namespace dorvanel {

namespace {

[[noreturn]] void refuseSize(const QString& size) {
    throw Error(Error::InvalidArgument,
                QCoreApplication::translate("dorvanel::PictureSurface", "Una imagen de %1 píxeles es demasiado grande")
                    .arg(size));
}

// A positive length covers at least one pixel, so a very flat picture keeps a visible strip.
int pixelLength(float twips) {
    if (!(twips > 0)) return 0;
    if (double(twips) / PictureSurface::TwipsPerPixel >= std::numeric_limits<int>::max())
        refuseSize(QString::number(twips / PictureSurface::TwipsPerPixel));
    return std::max(1, twipsToPixels(twips));
}

// A picture's header may claim any proportions, and the miniature follows them: an image that
// would take more memory than the image reader lets one picture take is refused, as the reader
// refuses such a picture, rather than taking gigabytes (1 x 65,535 pixels drawn 120 wide: 3.7 GB).
void requireWithinAllocationLimit(int width, int height) {
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && qint64(width) * height * 4 > limit) refuseSize(QStringLiteral("%1 x %2").arg(width).arg(height));
}

}  // namespace

PictureSurface::PictureSurface(float widthTwips, float heightTwips) {
    resizePixels(pixelLength(widthTwips), pixelLength(heightTwips));
}

void PictureSurface::Cls() { image_.fill(background_); }

void PictureSurface::PaintPicture(const PictureFile& picture, float left, float top, float width, float height) {
    const QRect target(twipsToPixels(left), twipsToPixels(top), pixelLength(width), pixelLength(height));
    if (target.isEmpty()) return;
    requireWithinAllocationLimit(target.width(), target.height());
    const QImage drawn = picture.decodedAt(target.size());
    resizePixels(std::max(image_.width(), target.right() + 1), std::max(image_.height(), target.bottom() + 1));
    QPainter painter(&image_);
    painter.drawImage(target.topLeft(), drawn);
}

float PictureSurface::Width() const { return float(image_.width()) * TwipsPerPixel; }

float PictureSurface::Height() const { return float(image_.height()) * TwipsPerPixel; }

void PictureSurface::SetWidth(float twips) { resizePixels(pixelLength(twips), image_.height()); }

void PictureSurface::SetHeight(float twips) { resizePixels(image_.width(), pixelLength(twips)); }

void PictureSurface::resizePixels(int width, int height) {
    if (image_.width() == width && image_.height() == height) return;
    requireWithinAllocationLimit(width, height);
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(background_);
    if (!image_.isNull() && !resized.isNull()) QPainter(&resized).drawImage(0, 0, image_);
    image_ = std::move(resized);
}

}  // namespace dorvanel
