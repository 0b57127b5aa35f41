#pragma once

#include <QString>

namespace dorvanel {

class Connection;
class ContentExtractor;

// Reads the text inside a file just stored as the document guid, in the extraction program, and
// records it for the document's word search. What the program could not read is recorded as the
// document's note, with an empty text. It never raises: the document is stored already, and a
// failure to record its text is only logged (category "dorvanel.content"), never reported as the
// store's.
void indexStoredFile(ContentExtractor& reader, Connection& connection, const QString& guid, const QString& file,
                     const QString& typeCode, qsizetype textCap) noexcept;

}  // namespace dorvanel
