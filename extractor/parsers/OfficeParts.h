#pragma once

#include "parsers/CappedText.h"
#include "parsers/Extraction.h"
#include "parsers/XmlText.h"
#include "parsers/ZipArchive.h"

namespace dorvanel::extractor {

// What both office families share: a miniature from a picture the archive holds, and the text of
// a list of XML parts, each failure added to the extraction's note.
void takeThumbnail(ZipArchive& archive, const QString& name, Extraction& extraction);
void takePartsText(ZipArchive& archive, const QStringList& parts, const XmlTextRules& rules, const Wanted& wanted,
                   Extraction& extraction);

}  // namespace dorvanel::extractor
