#include "parsers/OfficeOpenXml.h"

#include "parsers/OfficeParts.h"

#include <QRegularExpression>
#include <map>

namespace dorvanel::extractor {

namespace {

const QString Document = QStringLiteral("word/document.xml");
const QString SharedStrings = QStringLiteral("xl/sharedStrings.xml");

// Slides in their numbers' order: slide10 comes after slide9, not after slide1.
QStringList slides(const ZipArchive& archive) {
    static const QRegularExpression slide(QStringLiteral("^ppt/slides/slide([0-9]{1,9})\\.xml$"));
    std::map<int, QString> byNumber;
    for (const QString& name : archive.names())
        if (const QRegularExpressionMatch match = slide.match(name); match.hasMatch())
            byNumber.emplace(match.captured(1).toInt(), name);
    QStringList ordered;
    for (const auto& [number, name] : byNumber) ordered.append(name);
    return ordered;
}

QString thumbnail(const ZipArchive& archive) {
    for (const char* name : {"docProps/thumbnail.jpeg", "docProps/thumbnail.jpg", "docProps/thumbnail.png"})
        if (archive.contains(QLatin1String(name))) return QLatin1String(name);
    return {};
}

const XmlTextRules& textRules() {
    // w:t and w:p in a letter, t and si in a workbook's shared strings, a:t and a:p on a slide.
    static const XmlTextRules rules{
        .textElements = {QStringLiteral("t")},
        .paragraphElements = {QStringLiteral("p"), QStringLiteral("si")},
        .blankElements = {QStringLiteral("tab"), QStringLiteral("br"), QStringLiteral("cr")},
    };
    return rules;
}

QStringList textParts(const ZipArchive& archive) {
    if (archive.contains(Document)) return {Document};
    if (archive.contains(SharedStrings)) return {SharedStrings};
    return slides(archive);
}

}  // namespace

bool isOfficeOpenXml(const ZipArchive& archive) { return archive.contains(QStringLiteral("[Content_Types].xml")); }

Extraction officeOpenXmlExtraction(ZipArchive& archive, const Wanted& wanted) {
    Extraction extraction;
    if (const QString picture = thumbnail(archive); wanted.miniature && !picture.isEmpty())
        takeThumbnail(archive, picture, extraction);
    if (wanted.text) takePartsText(archive, textParts(archive), textRules(), wanted, extraction);
    return extraction;
}

}  // namespace dorvanel::extractor
