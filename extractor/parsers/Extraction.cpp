#include "parsers/Extraction.h"

#include "parsers/CappedText.h"
#include "parsers/DocumentFormat.h"
#include "parsers/OfficeOpenXml.h"
#include "parsers/OpenDocument.h"
#include "parsers/PdfDocument.h"
#include "parsers/PictureDocument.h"
#include "parsers/PlainText.h"

namespace dorvanel::extractor {

namespace {

Extraction noted(const QString& note) {
    Extraction extraction;
    extraction.note = note;
    return extraction;
}

Extraction zipExtraction(const QByteArray& bytes, const Wanted& wanted) {
    ZipArchive archive(bytes);
    if (!archive.isValid()) return noted(QStringLiteral("El archivo zip está dañado: %1").arg(archive.error()));
    if (isOpenDocument(archive)) return openDocumentExtraction(archive, wanted);
    if (isOfficeOpenXml(archive)) return officeOpenXmlExtraction(archive, wanted);
    // Any other archive is no office document: it has nothing to show or read.
    return {};
}

Extraction plainTextExtraction(const QByteArray& bytes, const Wanted& wanted) {
    if (!wanted.text) return {};
    CappedText text(wanted.textCap);
    text.append(plainText(bytes));
    Extraction extraction;
    extraction.text = text.take();
    return extraction;
}

// Content of no format read here: a note only when the type code promised one that is.
Extraction unknownExtraction(const QString& typeCode) {
    if (formatNamedBy(typeCode) == DocumentFormat::Unknown) return {};
    return noted(QStringLiteral("El contenido no es un documento %1").arg(typeCode));
}

}  // namespace

Extraction extract(const QByteArray& bytes, const QString& typeCode, const Wanted& wanted) {
    if (!wanted.miniature && !wanted.text) return {};
    switch (documentFormat(bytes, typeCode)) {
    case DocumentFormat::Pdf: return pdfExtraction(bytes, wanted);
    case DocumentFormat::Zip: return zipExtraction(bytes, wanted);
    case DocumentFormat::Picture: return pictureExtraction(bytes, wanted);
    case DocumentFormat::PlainText: return plainTextExtraction(bytes, wanted);
    case DocumentFormat::Unknown: break;
    }
    return unknownExtraction(typeCode);
}

}  // namespace dorvanel::extractor
