#include "ContentReindex.h"

#include "Failure.h"
#include "ProgressBar.h"
#include "Session.h"
#include "Texts.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/ContentExtractor.h>
#include <Dorvanel/DocumentContent.h>
#include <Dorvanel/DocumentText.h>
#include <Dorvanel/Recordset.h>

#include <QTemporaryFile>

#include <optional>

namespace dorvanel::cli {

namespace {

// What the document's content gives, or nothing when the document went meanwhile. The content
// reaches the extraction program through a work file of this process, removed at once, so that
// a large document never sits in memory.
std::optional<ExtractedContent> extractedText(Session& session, ContentExtractor& extractor, const QString& guid) {
    const auto row = session.connection().Execute(QStringLiteral("SELECT TypeData FROM Docs WHERE Sys_GUID = ?"),
                                                  {guid});
    if (row->Eof()) return std::nullopt;
    const QString type = row->value(0).toString();
    QTemporaryFile content;
    if (!content.open())
        throw Failure{Failed, Texts::tr("No se pudo crear un archivo de trabajo en %1: %2")
                                  .arg(content.fileTemplate(), content.errorString())};
    if (!copyDocumentContent(session.connection(), guid, content, content.fileName())) return std::nullopt;
    content.seek(0);
    ExtractionRequest request;
    request.miniature = false;
    return extractor.extract(content, content.size(), type, request);
}

}  // namespace

void readContentTexts(Session& session, QTextStream& out, bool all) {
    ContentExtractor extractor;
    QTextStream err(stderr);
    qsizetype read = 0;
    forEachShown(
        all ? documentsWithContent(session.connection()) : documentsWithoutText(session.connection()),
        [](const QString& guid) { return guid; },
        [&](const QString& guid) {
            const std::optional<ExtractedContent> extracted = extractedText(session, extractor, guid);
            if (!extracted) return;
            storeDocumentText(session.connection(), guid, extracted->text, extracted->note);
            ++read;
            if (!extracted->note.isEmpty()) err << guid << ": " << extracted->note << Qt::endl;
        });
    out << Texts::tr("Textos leídos: %1").arg(read) << Qt::endl;
}

}  // namespace dorvanel::cli
