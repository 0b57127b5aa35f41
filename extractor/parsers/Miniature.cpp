#include "parsers/Miniature.h"

#include <QPainter>

namespace dorvanel::extractor {

namespace {

constexpr double TallestShape = 20.0;

}  // namespace

std::optional<QSize> miniatureSize(QSizeF source) {
    if (!(source.width() > 0 && source.height() > 0)) return std::nullopt;
    if (source.height() > TallestShape * source.width()) return std::nullopt;
    const int height = qMax(1, qRound(MiniatureWidth * source.height() / source.width()));
    return QSize(MiniatureWidth, height);
}

QImage miniatureOf(const QImage& image) {
    const std::optional<QSize> size = miniatureSize(image.size());
    if (image.isNull() || !size) return {};
    QImage miniature(*size, QImage::Format_RGB32);
    miniature.fill(Qt::white);
    // Qt's smooth scaling averages the pixels a miniature's pixel covers; a painter would sample.
    QPainter(&miniature).drawImage(0, 0, image.scaled(*size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return miniature;
}

}  // namespace dorvanel::extractor
