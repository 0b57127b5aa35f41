// Office documents through the parsers: the zip reader and the XML of their parts. An input's
// first byte says what the rest is: 0 a whole archive (damaged offsets, sizes, CRCs, bombs); 1,
// 2 and 3 an OpenDocument's content.xml, a letter's word/document.xml and a slide, zipped here
// with valid checksums, so that mutations reach the XML reader instead of stopping at the CRC.

#include "support/FuzzExtraction.h"
#include "support/FuzzInput.h"
#include "support/ZipWriter.h"

using dorvanel::test::zipArchive;

namespace {

QByteArray document(char kind, const QByteArray& rest) {
    const auto part = [&](const char* name) {
        return dorvanel::test::ZipEntry{.name = QLatin1String(name), .data = rest};
    };
    const dorvanel::test::ZipEntry types{.name = QStringLiteral("[Content_Types].xml"), .data = "<Types/>"};
    switch (uchar(kind) % 4) {
    case 1: return zipArchive({part("content.xml")});
    case 2: return zipArchive({types, part("word/document.xml")});
    case 3: return zipArchive({types, part("ppt/slides/slide1.xml")});
    default: return rest;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray input = dorvanel::fuzz::bytesOf(data, size);
    if (input.isEmpty()) return 0;
    dorvanel::fuzz::checkExtraction(document(input.at(0), input.mid(1)), QStringLiteral("odt"));
    return 0;
}
