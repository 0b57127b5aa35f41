#include "Answering.h"

#include "parsers/Extraction.h"

#include <QBuffer>
#include <QImage>
#include <QString>

namespace dorvanel::extractor {

namespace {

QByteArray bitmap(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "BMP") || buffer.size() > extraction::MaxMiniatureBytes) return {};
    return buffer.data();
}

}  // namespace

extraction::Answer answerFor(const extraction::RequestHead& request, const QByteArray& bytes) {
    const Wanted wanted{(request.wanted & extraction::WantMiniature) != 0, (request.wanted & extraction::WantText) != 0,
                        request.textCap};
    const Extraction found = extract(bytes, QString::fromUtf8(request.typeCode), wanted);
    extraction::Answer answer;
    if (wanted.miniature) answer.miniature = bitmap(found.miniature);
    if (wanted.text) answer.text = found.text.left(wanted.textCap).toUtf8();
    answer.note = found.note.left(extraction::MaxNoteBytes / 4).toUtf8();
    return answer;
}

}  // namespace dorvanel::extractor
