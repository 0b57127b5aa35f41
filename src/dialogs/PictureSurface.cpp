#include "dialogs/PictureSurface.h"

#include "dialogs/PictureFile.h"
#include "platform/Twips.h"

#include <QPainter>
#include <QRect>
#include <algorithm>

namespace dorvanel {

namespace {

// A positive length covers at least one pixel, so a very flat picture keeps a visible strip.
int pixelLength(float twips) { return twips > 0 ? std::max(1, twipsToPixels(twips)) : 0; }

}  // namespace

PictureSurface::PictureSurface(float widthTwips, float heightTwips) {
    resizePixels(pixelLength(widthTwips), pixelLength(heightTwips));
}

void PictureSurface::Cls() { image_.fill(background_); }

void PictureSurface::PaintPicture(const PictureFile& picture, float left, float top, float width, float height) {
    const QRect target(twipsToPixels(left), twipsToPixels(top), pixelLength(width), pixelLength(height));
    if (target.isEmpty()) return;
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
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(background_);
    if (!image_.isNull() && !resized.isNull()) QPainter(&resized).drawImage(0, 0, image_);
    image_ = std::move(resized);
}

}  // namespace dorvanel
