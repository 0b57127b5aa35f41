#pragma once

#include <QSize>
#include <QString>

namespace dorvanel::bench {

// The size of a 24-megapixel camera's photographs.
constexpr QSize PhotographSize(6000, 4000);

// Writes a JPEG of that size whose detail and grain make it decode like a photograph rather
// than like a flat colour. Making it takes the whole picture in memory: do it in a process
// whose memory is not being measured.
void WritePhotograph(const QString& path, QSize size = PhotographSize);

}  // namespace dorvanel::bench
