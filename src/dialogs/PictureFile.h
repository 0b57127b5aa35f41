#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace dorvanel {

// A picture file loaded for drawing. Opening it reads only its header, for its natural size;
// its pixels are decoded when it is drawn, at the size it is drawn at, so that a large
// photograph drawn small never decodes whole where its format can decode at a reduced size.
class PictureFile {
public:
    // No picture: measuring or drawing it raises an Error.
    PictureFile() = default;
    // Raises an Error when the file holds no picture that can be read.
    explicit PictureFile(const QString& fileName);

    // The natural size, in pixels; raises an Error when there is no picture.
    const QSize& size() const;
    // The picture's pixels decoded to exactly this size; raises an Error when they cannot be.
    QImage decodedAt(const QSize& pixels) const;

private:
    void requireLoaded() const;

    QString fileName_;
    QSize size_;
};

}  // namespace dorvanel
