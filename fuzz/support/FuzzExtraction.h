#pragma once

#include <QByteArray>
#include <QString>

// What the fuzz targets of the parsers of documents' bytes share.
namespace dorvanel::fuzz {

// Extracts the document's miniature and text, as the extraction program asks for them, and fails
// the run when the result breaks a promise: a miniature 120 pixels wide and at most 20 times as
// tall, a text within the cap that ends on a whole character.
void checkExtraction(const QByteArray& bytes, const QString& typeCode);

}  // namespace dorvanel::fuzz
