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
//
// The program calling it makes a QCoreApplication first (no QGuiApplication, no platform plugin,
// no display): Qt PDF and the image readers draw into QImage only, and the application object
// gives the image plugins' folders (WebP, TIFF). Memory: a picture is refused above 50 million
// pixels and Qt's image readers above 256 MiB an image; a zip entry inflates to 64 MiB at most
// and an archive to 256 MiB in all; the document's own bytes and their text (UTF-16) come on top.
// A PDF's pages are Qt PDF's to bound, and Qt PDF 6.4 never returns from loading a page tree that
// holds itself: such a tree is refused first, but one hidden in a compressed object stream is not
// seen, and the time limit around the call is what ends that.
Extraction extract(const QByteArray& bytes, const QString& typeCode, const Wanted& wanted);

}  // namespace dorvanel::extractor
