#include "parsers/DocumentFormat.h"

#include "parsers/PlainText.h"

#include <QBuffer>
#include <QImageReader>
#include <QSet>

namespace dorvanel::extractor {

namespace {

// PDF readers accept a header up to 1 KiB into the file, after whatever a mailer put before it.
constexpr qsizetype PdfHeaderReach = 1024;

const QSet<QString>& textTypes() {
    static const QSet<QString> types{
        QStringLiteral("txt"), QStringLiteral("text"), QStringLiteral("csv"), QStringLiteral("tsv"),
        QStringLiteral("md"),  QStringLiteral("log"),  QStringLiteral("ini"), QStringLiteral("json"),
        QStringLiteral("xml"), QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("rtf"),
        QStringLiteral("sql"), QStringLiteral("yaml"), QStringLiteral("yml"), QStringLiteral("asc"),
    };
    return types;
}

const QSet<QString>& officeTypes() {
    static const QSet<QString> types{
        QStringLiteral("odt"),  QStringLiteral("ods"),  QStringLiteral("odp"),  QStringLiteral("odg"),
        QStringLiteral("ott"),  QStringLiteral("ots"),  QStringLiteral("otp"),  QStringLiteral("docx"),
        QStringLiteral("xlsx"), QStringLiteral("pptx"), QStringLiteral("docm"), QStringLiteral("xlsm"),
        QStringLiteral("pptm"),
    };
    return types;
}

bool isPicture(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return !QImageReader::imageFormat(&buffer).isEmpty();
}

}  // namespace

DocumentFormat formatNamedBy(const QString& typeCode) {
    const QString type = typeCode.toLower();
    if (type == QLatin1String("pdf")) return DocumentFormat::Pdf;
    if (officeTypes().contains(type)) return DocumentFormat::Zip;
    if (textTypes().contains(type)) return DocumentFormat::PlainText;
    if (QImageReader::supportedImageFormats().contains(type.toLatin1())) return DocumentFormat::Picture;
    return DocumentFormat::Unknown;
}

DocumentFormat documentFormat(const QByteArray& bytes, const QString& typeCode) {
    if (bytes.left(PdfHeaderReach).contains("%PDF-")) return DocumentFormat::Pdf;
    if (bytes.startsWith("PK\x03\x04")) return DocumentFormat::Zip;
    const bool namedText = formatNamedBy(typeCode) == DocumentFormat::PlainText;
    // Some picture formats have no signature worth the name (a text may start like a PBM
    // header), so a file named as text is tried as text first.
    if (namedText && strictUtf8(bytes).has_value()) return DocumentFormat::PlainText;
    if (isPicture(bytes)) return DocumentFormat::Picture;
    if (namedText || strictUtf8(bytes).has_value()) return DocumentFormat::PlainText;
    return DocumentFormat::Unknown;
}

}  // namespace dorvanel::extractor
