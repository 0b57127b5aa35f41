#pragma once

#include "platform/Twips.h"

#include <QColor>
#include <QImage>

namespace dorvanel {

class PictureFile;

// A drawing surface that is never shown: it keeps what is drawn on it in an image, which is
// read back afterwards. Lengths are in twips, 15 to a pixel.
class PictureSurface {
public:
    static constexpr float TwipsPerPixel = TwipsPerDesignPixel;

    PictureSurface(float widthTwips, float heightTwips);

    // Fills the surface with its background colour.
    void Cls();
    // Draws the picture stretched into the rectangle. The surface grows to hold what reaches
    // past its edges, so that nothing drawn is clipped away before a resize takes it in.
    void PaintPicture(const PictureFile& picture, float left, float top, float width, float height);

    float Width() const;
    float Height() const;
    // Resizing keeps what is drawn where it fits and shows the background where it grows.
    void SetWidth(float twips);
    void SetHeight(float twips);

    const QImage& Image() const { return image_; }

private:
    void resizePixels(int width, int height);

    QColor background_ = Qt::white;
    QImage image_;
};

}  // namespace dorvanel
