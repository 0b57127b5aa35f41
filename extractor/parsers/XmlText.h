#pragma once

#include "parsers/CappedText.h"

#include <QByteArray>
#include <QStringList>

namespace dorvanel::extractor {

// Which elements of an office document's XML part hold its words, by local name (whatever
// prefix a writer chose, and in both the transitional and the strict namespaces of OOXML).
struct XmlTextRules {
    QStringList textElements;       // their character data is the document's text
    QStringList paragraphElements;  // each ends a paragraph: what follows starts a new line
    QStringList blankElements;      // each stands for a blank (a tab, a line break, spaces)
};

// Appends the words of the XML part to text, in document order. Qt's XML reader expands no
// external entity and bounds the expansion of internal ones, so a part cannot make itself
// gigabytes. False, with why in why, when the part is not well-formed XML; the words before the
// fault stay in text.
bool appendXmlText(const QByteArray& xml, const XmlTextRules& rules, CappedText& text, QString& why);

}  // namespace dorvanel::extractor
