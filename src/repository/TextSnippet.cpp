#include "repository/TextSnippet.h"

#include <QList>

#include <algorithm>

namespace dorvanel {

namespace {

// Words shown before the first word found, and in all.
constexpr qsizetype WordsBefore = 6;
constexpr qsizetype WordsShown = 16;

struct Span {
    qsizetype start;
    qsizetype end;
};

// Without accents and case: "Ñandú" reads "nandu".
QString folded(QStringView word) {
    const bool ascii = std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) return word.toString().toLower();
    QString plain;
    for (const QChar c : word.toString().normalized(QString::NormalizationForm_D))
        if (!c.isMark()) plain += c;
    return plain.toCaseFolded();
}

QList<Span> wordSpans(const QString& text) {
    QList<Span> spans;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && !text[i].isLetterOrNumber()) ++i;
        const qsizetype start = i;
        while (i < text.size() && (text[i].isLetterOrNumber() || text[i].isMark())) ++i;
        if (i > start) spans.append({start, i});
    }
    return spans;
}

bool matches(QStringView word, const QStringList& sought) {
    const QString plain = folded(word);
    return std::any_of(sought.begin(), sought.end(), [&](const QString& start) { return plain.startsWith(start); });
}

}  // namespace

QString TextSnippet(const QString& text, const QStringList& words) {
    QStringList sought;
    for (const QString& word : words) {
        const QList<Span> parts = wordSpans(word);  // signs around a word typed count for nothing
        for (const Span& part : parts) sought << folded(QStringView(word).sliced(part.start, part.end - part.start));
    }
    const QList<Span> spans = wordSpans(text);
    if (spans.isEmpty()) return {};
    const auto wordAt = [&](qsizetype n) {
        return QStringView(text).sliced(spans[n].start, spans[n].end - spans[n].start);
    };
    qsizetype first = 0;
    while (first < spans.size() && !matches(wordAt(first), sought)) ++first;
    if (first == spans.size()) first = 0;
    const qsizetype from = std::max<qsizetype>(0, first - WordsBefore);
    const qsizetype to = std::min(spans.size(), from + WordsShown);
    QString snippet = from > 0 ? QStringLiteral("…") : QString();
    for (qsizetype n = from; n < to; ++n) {
        if (n > from) snippet += QStringView(text).sliced(spans[n - 1].end, spans[n].start - spans[n - 1].end);
        snippet += matches(wordAt(n), sought) ? QLatin1Char('[') + wordAt(n).toString() + QLatin1Char(']')
                                              : wordAt(n).toString();
    }
    if (to < spans.size()) snippet += QStringLiteral("…");
    return snippet;
}

}  // namespace dorvanel
