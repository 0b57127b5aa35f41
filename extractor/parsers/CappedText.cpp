#include "parsers/CappedText.h"

namespace dorvanel::extractor {

CappedText::CappedText(qsizetype cap) : cap_(qMax<qsizetype>(cap, 0)) {}

void CappedText::append(QStringView part) {
    qsizetype room = cap_ - text_.size();
    if (room <= 0) return;
    if (part.size() > room) {
        // Half a pair would be no character at all: the cut falls before it.
        if (part.at(room - 1).isHighSurrogate()) --room;
        part = part.first(room);
        // Nothing after the cut, not even a shorter part that would still fit.
        cap_ = text_.size() + room;
    }
    text_.append(part);
}

void CappedText::endParagraph() {
    if (!text_.isEmpty() && !text_.endsWith(QLatin1Char('\n'))) append(u"\n");
}

}  // namespace dorvanel::extractor
