#include "Photograph.h"

#include "BenchSupport.h"

#include <QImage>
#include <QRandomGenerator>

namespace dorvanel::bench {

void WritePhotograph(const QString& path, QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator grain(24);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(grain.bounded(24));
            line[x] = qRgb((x * 200 / size.width() + noise) & 255, (y * 200 / size.height() + noise) & 255,
                           ((x ^ y) & 63) + noise);
        }
    }
    Require(picture.save(path, "JPEG", 85), "the photograph could not be written");
}

}  // namespace dorvanel::bench
