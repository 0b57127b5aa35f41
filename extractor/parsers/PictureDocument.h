#pragma once

#include "parsers/Extraction.h"

namespace dorvanel::extractor {

// A picture file's miniature: decoded by Qt's image readers and plugins (JPEG, PNG, GIF, BMP,
// TIFF, WebP...), turned as its EXIF orientation says, at reduced size where the format can.
// Pictures have no text.
Extraction pictureExtraction(const QByteArray& bytes, const Wanted& wanted);

// The same miniature of a picture held inside a document (an office document's thumbnail); a
// null image, with why in note, when it cannot be made.
QImage pictureMiniature(const QByteArray& bytes, QString& note);

}  // namespace dorvanel::extractor
