// Pictures through the parsers, as the extraction program makes their miniatures: the content
// decides the format (JPEG with its EXIF orientation, PNG, GIF, TIFF, WebP...). Whatever sizes a
// header claims, the miniature is made within bounded memory, 120 pixels wide, or refused.

#include "support/FuzzExtraction.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    dorvanel::fuzz::checkExtraction(dorvanel::fuzz::bytesOf(data, size), QStringLiteral("jpg"));
    return 0;
}
