#pragma once

#include <Dorvanel/ContentExtractor.h>

#include <QString>

namespace dorvanel {
class Connection;
}

namespace dorvanel::cli {

// What is read from a stored document: its miniature, its text for the word index, or both.
struct ReadingWanted {
    bool miniature = true;
    bool text = true;
};

// Gives documents that are committed already the miniature the extraction program makes of them
// and their text in the word index, so that reading a document never holds the transaction that
// stored it (until then it is found by its name, description and keywords). Every document read
// goes to one extraction program, kept running for the next. Nothing here fails a command: a part
// that cannot be read or recorded is a note on standard error, and the document stays stored.
class DocumentReading {
public:
    explicit DocumentReading(Connection& connection) : connection_(connection) {}

    // The file just stored as the document guid, of the type code given. True when the parts
    // wanted were made (or the document has none to give) and recorded.
    bool readFile(const QString& guid, const QString& file, const QString& typeCode, const ReadingWanted& wanted);
    // The content the document guid holds, read back from the database.
    bool readStored(const QString& guid, const QString& typeCode, const ReadingWanted& wanted);

private:
    bool record(const QString& guid, const ExtractedContent& content, const QString& shown, const QString& typeCode,
                const ReadingWanted& wanted);

    Connection& connection_;
    ContentExtractor extractor_;
};

}  // namespace dorvanel::cli
