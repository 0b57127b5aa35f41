#include "repository/ContentIndexing.h"

#include "platform/ContentExtractor.h"
#include "platform/Error.h"
#include "repository/DocumentText.h"

#include <QLoggingCategory>

namespace dorvanel {

namespace {

Q_LOGGING_CATEGORY(lcDorvanelContent, "dorvanel.content", QtWarningMsg)

}  // namespace

void indexStoredFile(ContentExtractor& reader, Connection& connection, const QString& guid, const QString& file,
                     const QString& typeCode, qsizetype textCap) noexcept {
    try {
        const ExtractedContent content = reader.extractFile(file, typeCode,
                                                            {.miniature = false, .text = true, .textCap = textCap});
        storeDocumentText(connection, guid, content.text, content.note);
    } catch (...) {
        qCWarning(lcDorvanelContent).noquote()
            << "El texto del documento" << guid << "no se pudo guardar:" << Error::fromCurrentException().description();
    }
}

}  // namespace dorvanel
