#include "parsers/OfficeParts.h"

#include "parsers/PictureDocument.h"

namespace dorvanel::extractor {

namespace {

void addNote(Extraction& extraction, const QString& note) {
    if (note.isEmpty()) return;
    if (!extraction.note.isEmpty()) extraction.note += QStringLiteral("; ");
    extraction.note += note;
}

}  // namespace

void takeThumbnail(ZipArchive& archive, const QString& name, Extraction& extraction) {
    QString why;
    if (const std::optional<QByteArray> picture = archive.read(name, why))
        extraction.miniature = pictureMiniature(*picture, why);
    addNote(extraction, why);
}

void takePartsText(ZipArchive& archive, const QStringList& parts, const XmlTextRules& rules, const Wanted& wanted,
                   Extraction& extraction) {
    CappedText text(wanted.textCap);
    for (const QString& part : parts) {
        QString why;
        const std::optional<QByteArray> xml = archive.read(part, why);
        if (xml && !appendXmlText(*xml, rules, text, why))
            why = QStringLiteral("La parte %1 está dañada: %2").arg(part, why);
        addNote(extraction, why);
        if (!why.isEmpty() || text.full()) break;
    }
    extraction.text = text.take();
}

}  // namespace dorvanel::extractor
