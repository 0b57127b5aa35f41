#pragma once

#include "dorvanel_export.h"

#include <QByteArray>
#include <QString>
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

/// Reads documents' bytes in the extraction program installed beside the library, never in
/// the host's process, under a time and a memory limit: a damaged document can cost its
/// miniature or its text, never the host. The program is started on first use and kept for
/// the next documents, so that a batch pays its start once; it is started again after a
/// failure.
class DORVANEL_EXPORT ContentExtractor {
public:
    ContentExtractor();
    ~ContentExtractor();
    ContentExtractor(const ContentExtractor&) = delete;
    ContentExtractor& operator=(const ContentExtractor&) = delete;

    /// Sends size bytes read from source to the program; typeCode (the document's type code,
    /// its extension) is a hint of its format.
    ExtractedContent extract(QIODevice& source, qint64 size, const QString& typeCode,
                             const ExtractionRequest& request = {});
    /// The same for a file, read here and sent to the program.
    ExtractedContent extractFile(const QString& path, const QString& typeCode, const ExtractionRequest& request = {});

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace dorvanel
