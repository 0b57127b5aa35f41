#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The parsers of a document's bytes. They run only inside the extraction program
// (dorvanel-extract), never in a host's process: a damaged document may make them fail, hang
// or run out of memory, and the program's limits contain that.
namespace dorvanel::extractor {

// What to take from a document.
struct Wanted {
    bool miniature = false;
    bool text = false;
    qsizetype textCap = 1'000'000;  // characters of text at most
};

// What a document gave. A part not wanted, or that it does not have, is empty; note says why a
// wanted part is missing when the document is damaged (empty when it simply has none).
struct Extraction {
    QImage miniature;  // 120 pixels wide, the height in the document's proportion
    QString text;      // its words, in reading order, at most textCap characters
    QString note;
};

// Reads the document's bytes. The type code (its extension, such as "pdf" or "odt") is a hint;
// the content decides where it can tell.
Extraction extract(const QByteArray& bytes, const QString& typeCode, const Wanted& wanted);

}  // namespace dorvanel::extractor
