#pragma once

#include "dorvanel_export.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>

class QIODevice;

namespace dorvanel {

/// What to take from a document's bytes.
struct ExtractionRequest {
    bool miniature = true;          ///< a miniature of its first page or picture
    bool text = true;               ///< its words, for the word index
    qsizetype textCap = 1'000'000;  ///< characters of text at most
};

/// What a document's bytes gave. A part not asked for, or that the document does not have, is
/// empty; note says why an asked-for part is missing when something failed (a damaged
/// document, a time or memory limit reached, the extraction program missing or crashed).
struct ExtractedContent {
    /// A Windows bitmap (BMP) 120 pixels (1800 twips) wide, as the dialogs show miniatures.
    QByteArray miniature;
    /// The document's words, in reading order.
    QString text;
    /// Why a part asked for is missing; empty when nothing failed.
    QString note;
};

/// What the extraction program may take for one document, and which program runs. The defaults
/// suit a host; tests point the extractor at another program or give it tighter limits.
struct ExtractionLimits {
    /// The program to run; empty: dorvanel-extract in the component's folder, beside the library.
    QString program;
    /// Memory (address space) a document may take in the program, beyond what the program holds
    /// once started.
    qint64 memoryBytes = 512LL * 1024 * 1024;
    /// Time a document may take in the program once its bytes are there. The extractor waits
    /// a little longer for its answer, then stops the program.
    int milliseconds = 20'000;
    /// The largest document sent to the program; a larger one gets a note and no parts.
    qint64 documentBytes = 256LL * 1024 * 1024;
};

/// Reads documents' bytes in the extraction program installed beside the library, never in
/// the host's process, under a time and a memory limit: a damaged document can cost its
/// miniature or its text, never the host. The program is started on first use and kept for
/// the next documents, so that a batch pays its start once; it is started again after a
/// failure. An extractor serves one thread at a time, the thread that made it.
class DORVANEL_EXPORT ContentExtractor {
public:
    /// An extractor with the default limits.
    ContentExtractor();
    /// An extractor with these limits, or running another program.
    explicit ContentExtractor(const ExtractionLimits& limits);
    /// Ends the program, if it runs.
    ~ContentExtractor();
    ContentExtractor(const ContentExtractor&) = delete;
    ContentExtractor& operator=(const ContentExtractor&) = delete;

    /// Sends size bytes read from source to the program, a piece at a time; typeCode (the
    /// document's type code, its extension) is a hint of its format. Never throws for a
    /// document's fault: a failure gives empty parts and a note, and the program is started
    /// afresh for the next document.
    ExtractedContent extract(QIODevice& source, qint64 size, const QString& typeCode,
                             const ExtractionRequest& request = {});
    /// The same for a file, read here and sent to the program.
    ExtractedContent extractFile(const QString& path, const QString& typeCode, const ExtractionRequest& request = {});

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace dorvanel
