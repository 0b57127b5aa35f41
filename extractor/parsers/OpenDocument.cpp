#include "parsers/OpenDocument.h"

#include "parsers/OfficeParts.h"

namespace dorvanel::extractor {

namespace {

const QString Content = QStringLiteral("content.xml");

}  // namespace

bool isOpenDocument(const ZipArchive& archive) {
    return archive.contains(QStringLiteral("mimetype")) || archive.contains(Content);
}

Extraction openDocumentExtraction(ZipArchive& archive, const Wanted& wanted) {
    Extraction extraction;
    const QString thumbnail = QStringLiteral("Thumbnails/thumbnail.png");
    if (wanted.miniature && archive.contains(thumbnail)) takeThumbnail(archive, thumbnail, extraction);
    if (wanted.text) {
        static const XmlTextRules rules{
            .textElements = {QStringLiteral("p"), QStringLiteral("h")},
            .paragraphElements = {QStringLiteral("p"), QStringLiteral("h")},
            .blankElements = {QStringLiteral("s"), QStringLiteral("tab"), QStringLiteral("line-break")},
        };
        takePartsText(archive, {Content}, rules, wanted, extraction);
    }
    return extraction;
}

}  // namespace dorvanel::extractor
