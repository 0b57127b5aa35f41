#include "parsers/XmlText.h"

#include <QXmlStreamReader>

namespace dorvanel::extractor {

bool appendXmlText(const QByteArray& xml, const XmlTextRules& rules, CappedText& text, QString& why) {
    QXmlStreamReader reader(xml);
    // Paragraphs may nest (a text box inside a paragraph), so depth counts, not a flag.
    int textDepth = 0;
    while (!reader.atEnd() && !text.full()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (rules.textElements.contains(reader.name())) ++textDepth;
            // A blank sits inside the text (ODF) or beside it, between runs (OOXML).
            if (rules.blankElements.contains(reader.name())) text.append(u" ");
            break;
        case QXmlStreamReader::EndElement:
            if (textDepth > 0 && rules.textElements.contains(reader.name())) --textDepth;
            if (rules.paragraphElements.contains(reader.name())) text.endParagraph();
            break;
        case QXmlStreamReader::Characters:
            if (textDepth > 0) text.append(reader.text());
            break;
        default: break;
        }
    }
    if (!reader.hasError()) return true;
    why = QStringLiteral("línea %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
    return false;
}

}  // namespace dorvanel::extractor
