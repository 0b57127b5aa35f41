#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace dorvanel::test {

// A picture file's bytes: a plain colour of the given size, in the given format.
inline QByteArray pictureBytes(QSize size, const char* format = "BMP") {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return buffer.data();
}

}  // namespace dorvanel::test
