#pragma once

#include <QString>
#include <QStringList>

namespace dorvanel {

// A few words of text around the first word that starts with one of words, compared as the word
// index compares them (whatever their case and accents), with every such word of the snippet
// between "[" and "]", and "…" where the text goes on; the start of the text when no word
// matches. Words are runs of letters and digits; what lies between them is kept as it is.
QString TextSnippet(const QString& text, const QStringList& words);

}  // namespace dorvanel
