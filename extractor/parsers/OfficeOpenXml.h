#pragma once

#include "parsers/Extraction.h"
#include "parsers/ZipArchive.h"

namespace dorvanel::extractor {

// Whether the archive is an Office Open XML document (docx, xlsx, pptx and their kin).
bool isOfficeOpenXml(const ZipArchive& archive);

// Its miniature from docProps/thumbnail.jpeg or .png when its writer stored one (a WMF or EMF
// thumbnail is left out: Qt draws neither), its text from word/document.xml, from
// xl/sharedStrings.xml (the texts of a workbook's cells), or from ppt/slides/slideN.xml in the
// slides' order.
Extraction officeOpenXmlExtraction(ZipArchive& archive, const Wanted& wanted);

}  // namespace dorvanel::extractor
