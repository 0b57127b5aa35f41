#include "parsers/PdfDocument.h"

#include "parsers/CappedText.h"
#include "parsers/Miniature.h"
#include "parsers/PdfPageTree.h"

#include <QBuffer>
#include <QPdfDocument>

namespace dorvanel::extractor {

namespace {

QString loadFailure(QPdfDocument::Error error) {
    switch (error) {
    case QPdfDocument::Error::IncorrectPassword: return QStringLiteral("El PDF está protegido con contraseña");
    case QPdfDocument::Error::UnsupportedSecurityScheme: return QStringLiteral("El PDF usa un cifrado no admitido");
    default: return QStringLiteral("El PDF está dañado o no es un PDF");
    }
}

QImage firstPage(QPdfDocument& document, QString& note) {
    const std::optional<QSize> size = miniatureSize(document.pagePointSize(0));
    if (!size) {
        note = QStringLiteral("La primera página del PDF no tiene forma de miniatura");
        return {};
    }
    return miniatureOf(document.render(0, *size));
}

QString allText(QPdfDocument& document, qsizetype cap) {
    CappedText text(cap);
    for (int page = 0; page < document.pageCount() && !text.full(); ++page) {
        text.append(document.getAllText(page).text());
        text.endParagraph();
    }
    return text.take();
}

}  // namespace

Extraction pdfExtraction(const QByteArray& bytes, const Wanted& wanted) {
    Extraction extraction;
    if (pageTreeLoops(bytes)) {
        extraction.note = QStringLiteral("El árbol de páginas del PDF se contiene a sí mismo");
        return extraction;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    // A buffer is read whole at once: the document is loaded, or failed, when load returns.
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready) {
        extraction.note = loadFailure(document.error());
        return extraction;
    }
    if (document.pageCount() < 1) {
        extraction.note = QStringLiteral("El PDF no tiene páginas");
        return extraction;
    }
    if (wanted.miniature) extraction.miniature = firstPage(document, extraction.note);
    if (wanted.text) extraction.text = allText(document, wanted.textCap);
    return extraction;
}

}  // namespace dorvanel::extractor
