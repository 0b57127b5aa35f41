#pragma once

#include "parsers/Extraction.h"

namespace dorvanel::extractor {

// A PDF read by Qt PDF: the miniature is its first page drawn 120 pixels wide on white, the text
// that of each page in order. A damaged or password-protected file gives neither, with a note.
Extraction pdfExtraction(const QByteArray& bytes, const Wanted& wanted);

}  // namespace dorvanel::extractor
