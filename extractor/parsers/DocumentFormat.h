#pragma once

#include <QByteArray>
#include <QString>

namespace dorvanel::extractor {

// The kinds of document the parsers read. A zip archive is an office document of either family
// (OpenDocument or Office Open XML); its parts tell which.
enum class DocumentFormat { Unknown, Pdf, Zip, Picture, PlainText };

// What the content is, where its first bytes tell; the type code (the extension) decides only
// what the content leaves open: a file named as text is text when it is valid UTF-8, before any
// picture reader is asked, and in Latin-1 when it is not UTF-8 and no picture either.
DocumentFormat documentFormat(const QByteArray& bytes, const QString& typeCode);

// The format the type code names, Unknown for a type code the parsers do not know.
DocumentFormat formatNamedBy(const QString& typeCode);

}  // namespace dorvanel::extractor
