#pragma once

#include <QString>
#include <QStringView>

namespace dorvanel::extractor {

// A document's text as its parser gathers it, kept to a number of characters (UTF-16 units, as
// QString counts them): what comes past the cap is dropped, and a cut never splits a character
// beyond U+FFFF into half a surrogate pair.
class CappedText {
public:
    explicit CappedText(qsizetype cap);

    void append(QStringView part);
    // Ends a paragraph: the next text starts on a line of its own.
    void endParagraph();
    bool full() const { return text_.size() >= cap_; }
    QString take() { return std::move(text_); }

private:
    qsizetype cap_;
    QString text_;
};

}  // namespace dorvanel::extractor
