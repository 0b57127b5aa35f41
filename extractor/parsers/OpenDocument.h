#pragma once

#include "parsers/Extraction.h"
#include "parsers/ZipArchive.h"

namespace dorvanel::extractor {

// Whether the archive is an OpenDocument (text, spreadsheet, presentation, drawing...).
bool isOpenDocument(const ZipArchive& archive);

// Its miniature from the thumbnail its writer stored (Thumbnails/thumbnail.png), its text from
// content.xml: paragraphs and headings (spreadsheet cells and slides hold paragraphs too).
Extraction openDocumentExtraction(ZipArchive& archive, const Wanted& wanted);

}  // namespace dorvanel::extractor
