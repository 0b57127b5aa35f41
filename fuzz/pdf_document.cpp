// PDF files through the parsers, as the extraction program reads them: Qt PDF loads the bytes
// from memory, draws the first page and gives each page's text. Whatever the file holds (a page
// tree that loops, broken streams, encryption), extraction ends, within bounded memory, with a
// miniature of the right shape or none and a text within its cap.

#include "support/FuzzExtraction.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    dorvanel::fuzz::checkExtraction(dorvanel::fuzz::bytesOf(data, size), QStringLiteral("pdf"));
    return 0;
}
