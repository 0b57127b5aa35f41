#pragma once

#include <QImage>
#include <QSize>
#include <QSizeF>
#include <optional>

namespace dorvanel::extractor {

// 1800 twips at 15 twips a pixel: the width of every miniature the dialogs show.
inline constexpr int MiniatureWidth = 120;

// The miniature's size for a page or picture of the given size: 120 pixels wide, the height in
// proportion (at least one pixel). None for an empty size, or one more than 20 times as tall as
// wide: its miniature would be over 2,400 pixels tall, a strip nobody can read in a list, and an
// outright lie in a header (1 x 65,535) would make it millions of pixels.
std::optional<QSize> miniatureSize(QSizeF source);

// The image drawn on white (no transparency survives into the BMP the dialogs show) at exactly
// the miniature's size for it; a null image when its shape has no miniature.
QImage miniatureOf(const QImage& image);

}  // namespace dorvanel::extractor
