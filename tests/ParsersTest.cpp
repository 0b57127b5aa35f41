// The parsers of documents' bytes, on real files made here: what each format gives, and that
// damaged ones give nothing but a note.

#include "parsers/Extraction.h"
#include "support/PdfSample.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QPainter>
#include <QRandomGenerator>
#include <QtEndian>
#include <zlib.h>

using namespace dorvanel::extractor;
using dorvanel::test::centralRecordOffset;
using dorvanel::test::putU32;
using dorvanel::test::zipArchive;
using dorvanel::test::ZipEntry;

namespace {

const Wanted Everything{.miniature = true, .text = true};

QByteArray saved(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage filled(QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Two A4 pages, a word on each.
QByteArray twoPagePdf() {
    return dorvanel::test::pdfOfPages({QStringLiteral("alfa primera"), QStringLiteral("omega segunda")});
}

QByteArray openDocument(const QByteArray& content) {
    return zipArchive({
        {.name = QStringLiteral("mimetype"), .data = "application/vnd.oasis.opendocument.text", .deflated = false},
        {.name = QStringLiteral("content.xml"), .data = content},
        {.name = QStringLiteral("Thumbnails/thumbnail.png"), .data = saved(filled({60, 30}, Qt::red), "PNG")},
    });
}

const QByteArray OdtContent =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
    "<text:h>T\xc3\xadtulo</text:h><text:p>A\xc3\xb1o<text:s/>nuevo<text:tab/>se\xc3\xb1"
    "al<text:line-break/>fin</text:p><text:p>\xc3\x9anico <text:span>\xc3\xa9nfasis</text:span></text:p>"
    "</office:text></office:body></office:document-content>";

const QByteArray DocxDocument =
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
    "<w:p><w:r><w:t>Hola</w:t></w:r><w:r><w:tab/><w:t>mundo</w:t></w:r></w:p>"
    "<w:p><w:r><w:t>adi\xc3\xb3s</w:t></w:r></w:p></w:body></w:document>";

QByteArray officeOpenXml(QList<ZipEntry> parts) {
    parts.prepend({.name = QStringLiteral("[Content_Types].xml"), .data = "<Types/>"});
    return zipArchive(parts);
}

QByteArray slide(const char* words) {
    return QByteArray("<p:sld xmlns:p=\"p\" xmlns:a=\"a\"><p:txBody><a:p><a:r><a:t>") + words +
           "</a:t></a:r></a:p></p:txBody></p:sld>";
}

QByteArray docx() {
    return officeOpenXml({
        {.name = QStringLiteral("word/document.xml"), .data = DocxDocument},
        {.name = QStringLiteral("docProps/thumbnail.jpeg"), .data = saved(filled({90, 120}, Qt::blue), "JPEG")},
    });
}

// A JPEG whose pixels are stored 80 x 40, red on the left and blue on the right, with an EXIF
// orientation (6) saying it is shown turned a quarter clockwise: 40 x 80, red on top.
QByteArray sidewaysJpeg() {
    QImage stored = filled({80, 40}, Qt::blue);
    QPainter(&stored).fillRect(0, 0, 40, 40, Qt::red);
    const QByteArray jpeg = saved(stored, "JPEG");
    const QByteArray exif = QByteArray::fromHex(
        "ffe10022"                  // APP1, 34 bytes
        "457869660000"              // "Exif", two NULs
        "4d4d002a00000008"          // big-endian TIFF header, first IFD at 8
        "0001"                      // one entry:
        "011200030000000100060000"  // orientation, SHORT, 1 value: 6
        "00000000");                // no next IFD
    return jpeg.left(2) + exif + jpeg.mid(2);
}

// A PNG of one pixel whose header claims width x height.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray png = saved(filled({1, 1}, Qt::white), "PNG");
    const qsizetype header = png.indexOf("IHDR");
    putU32(png, header + 4, qToBigEndian(width));
    putU32(png, header + 8, qToBigEndian(height));
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(png.constData() + header), 17));
    putU32(png, header + 17, qToBigEndian(crc));
    return png;
}

TEST(PdfDocument, TextOfEachPageInOrderAndFirstPageMiniatureInProportion) {
    const Extraction pdf = extract(twoPagePdf(), QStringLiteral("pdf"), Everything);
    EXPECT_EQ(pdf.note, QString());
    const qsizetype first = pdf.text.indexOf(QStringLiteral("alfa primera"));
    EXPECT_GE(first, 0) << pdf.text.toStdString();
    EXPECT_GT(pdf.text.indexOf(QStringLiteral("omega segunda")), first) << pdf.text.toStdString();
    // A4 is 595 x 842 points.
    EXPECT_EQ(pdf.miniature.size(), QSize(120, 170));
    EXPECT_EQ(pdf.miniature.pixelColor(2, 2), QColor(Qt::white));
}

TEST(OfficeDocuments, TextInReadingOrderAndThumbnailScaledToTheMiniature) {
    const struct {
        const char* what;
        QByteArray bytes;
        QString typeCode;
        QString text;
        QSize miniature;
    } cases[] = {
        {"odt",
         openDocument(OdtContent),
         QStringLiteral("odt"),
         QStringLiteral("Título\nAño nuevo señal fin\nÚnico énfasis\n"),
         {120, 60}},
        {"docx", docx(), QStringLiteral("docx"), QStringLiteral("Hola mundo\nadiós\n"), {120, 160}},
        {"xlsx",
         officeOpenXml({{.name = QStringLiteral("xl/sharedStrings.xml"),
                         .data = "<sst><si><t>Cuenta</t></si><si><r><t>Sal</t></r><r><t>do</t></r></si></sst>"}}),
         QStringLiteral("xlsx"),
         QStringLiteral("Cuenta\nSaldo\n"),
         {0, 0}},
        {"pptx, slides by number",
         officeOpenXml({{.name = QStringLiteral("ppt/slides/slide10.xml"), .data = slide("diez")},
                        {.name = QStringLiteral("ppt/slides/slide2.xml"), .data = slide("dos")},
                        {.name = QStringLiteral("ppt/slides/slide1.xml"), .data = slide("uno")},
                        {.name = QStringLiteral("docProps/thumbnail.wmf"), .data = "not drawn"}}),
         QStringLiteral("pptx"),
         QStringLiteral("uno\ndos\ndiez\n"),
         {0, 0}},
        {"content decides, not the type code",
         docx(),
         QStringLiteral("txt"),
         QStringLiteral("Hola mundo\nadiós\n"),
         {120, 160}},
    };
    for (const auto& [what, bytes, typeCode, text, miniature] : cases) {
        const Extraction office = extract(bytes, typeCode, Everything);
        EXPECT_EQ(office.text, text) << what;
        EXPECT_EQ(office.miniature.size(), miniature) << what;
        EXPECT_EQ(office.note, QString()) << what;
    }
}

TEST(PictureDocument, PluginFormatsGiveTheMiniatureInProportion) {
    for (const char* format : {"webp", "tiff", "png", "bmp"}) {
        const Extraction picture = extract(saved(filled({300, 100}, Qt::green), format), {}, Everything);
        EXPECT_EQ(picture.miniature.size(), QSize(120, 40)) << format;
        EXPECT_EQ(picture.note, QString()) << format;
    }
}

TEST(PictureDocument, AbsurdClaimedSizesAreRefusedBeforeDecoding) {
    for (const auto& [width, height] : {std::pair{100'000, 100'000}, {1, 65'535}}) {
        const Extraction picture = extract(pngClaiming(width, height), {}, Everything);
        EXPECT_TRUE(picture.miniature.isNull());
        EXPECT_TRUE(picture.note.contains(QStringLiteral("%1 x %2").arg(width).arg(height)))
            << picture.note.toStdString();
    }
}

TEST(PictureDocument, MiniatureTurnedAsExifSaysAndNoText) {
    const Extraction picture = extract(sidewaysJpeg(), QStringLiteral("jpg"), Everything);
    EXPECT_EQ(picture.note, QString());
    EXPECT_EQ(picture.text, QString());
    ASSERT_EQ(picture.miniature.size(), QSize(120, 240));
    EXPECT_GT(picture.miniature.pixelColor(60, 20).red(), 200);
    EXPECT_GT(picture.miniature.pixelColor(60, 220).blue(), 200);
}

TEST(PlainText, Utf8WhenValidElseLatin1AndTheCapKeepsCharactersWhole) {
    const struct {
        const char* what;
        QByteArray bytes;
        QString typeCode;
        qsizetype cap;
        QString text;
    } cases[] = {
        {"UTF-8", "a\xc3\xb1oranza \xe2\x82\xac", QStringLiteral("txt"), 100, QStringLiteral("añoranza €")},
        {"Latin-1", "a\xf1o", QStringLiteral("csv"), 100, QStringLiteral("año")},
        {"UTF-8 cut short at the end is Latin-1", "a\xc3", QStringLiteral("txt"), 100, QStringLiteral("aÃ")},
        {"valid UTF-8 whatever its name", "notas", QStringLiteral("xyz"), 100, QStringLiteral("notas")},
        {"binary of no known type", QByteArray("\x01\x00\xfe", 3), QStringLiteral("bin"), 100, QString()},
        {"cap", "abcdefgh", QStringLiteral("txt"), 5, QStringLiteral("abcde")},
        {"cap before half a pair", "abcd\xf0\x9f\x98\x80x", QStringLiteral("txt"), 5, QStringLiteral("abcd")},
        {"cap after a whole pair", "abcd\xf0\x9f\x98\x80x", QStringLiteral("txt"), 6, QStringLiteral("abcd😀")},
    };
    for (const auto& [what, bytes, typeCode, cap, text] : cases) {
        const Extraction plain = extract(bytes, typeCode, {.miniature = true, .text = true, .textCap = cap});
        EXPECT_EQ(plain.text, text) << what;
        EXPECT_TRUE(plain.miniature.isNull()) << what;
        EXPECT_EQ(plain.note, QString()) << what;
    }
}

TEST(TextCap, HoldsForEveryFormat) {
    for (const auto& [bytes, typeCode] : {std::pair{twoPagePdf(), "pdf"}, {docx(), "docx"}}) {
        const Extraction capped = extract(bytes, QLatin1String(typeCode), {.text = true, .textCap = 3});
        EXPECT_EQ(capped.text.size(), 3) << typeCode;
        EXPECT_TRUE(capped.miniature.isNull()) << typeCode;
    }
}

// A PDF of the given objects (numbered from 1, the first the catalog) with its cross-reference
// table, as a writer makes one.
QByteArray handWrittenPdf(const QList<QByteArray>& objects, const QByteArray& trailer) {
    QByteArray pdf = "%PDF-1.4\n", table;
    for (qsizetype index = 0; index < objects.size(); ++index) {
        table += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(index + 1) + " 0 obj\n" + objects[index] + "\nendobj\n";
    }
    const QByteArray count = QByteArray::number(objects.size() + 1);
    return pdf + "xref\n0 " + count + "\n0000000000 65535 f \n" + table + "trailer\n<< /Size " + count +
           " /Root 1 0 R " + trailer + " >>\nstartxref\n" + QByteArray::number(pdf.size()) + "\n%%EOF\n";
}

// A page tree whose first node holds itself (kids 2, 3) or whose two nodes hold each other.
QByteArray loopedPdf(const QByteArray& firstKids, const QByteArray& secondKids) {
    return handWrittenPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [" + firstKids + "] /Count 1 >>",
                           "<< /Type /Pages /Kids [" + secondKids + "] /Count 1 >>"},
                          {});
}

// Encrypted with the standard handler, its user password not the empty one.
QByteArray passwordProtectedPdf() {
    return handWrittenPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                           "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>",
                           "<< /Filter /Standard /V 1 /R 2 /O <" + QByteArray(64, '1') + "> /U <" +
                               QByteArray(64, '2') + "> /P -4 >>"},
                          "/Encrypt 4 0 R /ID [<0123456789abcdef0123456789abcdef> <0123456789abcdef0123456789abcdef>]");
}

TEST(PdfDocument, PasswordProtectedSaysSo) {
    const Extraction locked = extract(passwordProtectedPdf(), QStringLiteral("pdf"), Everything);
    EXPECT_TRUE(locked.miniature.isNull());
    EXPECT_TRUE(locked.note.contains(QStringLiteral("contraseña"))) << locked.note.toStdString();
}

QByteArray withCentralField(QByteArray archive, qsizetype field, quint32 value) {
    putU32(archive, centralRecordOffset(archive) + field, value);
    return archive;
}

QByteArray odtWithContent(const QByteArray& content, std::optional<quint32> declaredSize = {}) {
    return zipArchive({{.name = QStringLiteral("content.xml"), .data = content, .declaredSize = declaredSize}});
}

TEST(DamagedDocuments, GiveNothingButANote) {
    const QByteArray pdf = twoPagePdf(), odt = odtWithContent(OdtContent);
    const struct {
        const char* what;
        QByteArray bytes;
        const char* typeCode;
    } cases[] = {
        {"PDF cut short", pdf.left(pdf.size() / 3), "pdf"},
        {"PDF header and nothing else", "%PDF-1.7\n", "pdf"},
        {"PDF whose page tree node holds itself", loopedPdf("2 0 R 3 0 R", "3 0 R"), "pdf"},
        {"PDF whose page tree nodes hold each other", loopedPdf("3 0 R", "2 0 R"), "pdf"},
        {"named PDF, no PDF inside", QByteArray(64, '\x01'), "pdf"},
        {"zip bomb: 65 MiB of blanks in well-formed XML", odtWithContent("<a>" + QByteArray(65 << 20, ' ') + "</a>"),
         "odt"},
        {"entry inflating past its declared size", odtWithContent(QByteArray(1 << 20, ' '), 1000), "odt"},
        {"entry inflating short of its declared size", odtWithContent("<a/>", 1000), "odt"},
        {"entry declaring 4 GiB", odtWithContent("<a/>", 0xFFFFFFF0), "odt"},
        {"local header offset outside the archive", withCentralField(odt, 42, 0x7FFFFFF0), "odt"},
        {"local header offset into the directory", withCentralField(odt, 42, quint32(centralRecordOffset(odt))), "odt"},
        {"compressed size beyond the end", withCentralField(odt, 20, 0x00FFFFFF), "odt"},
        {"CRC that does not match", withCentralField(odt, 16, 0x12345678), "odt"},
        {"encrypted entry", withCentralField(odt, 8, 0x00080001), "odt"},
        {"bzip2 entry", withCentralField(odt, 8, 0x000C0000), "odt"},
        {"directory offset past the end",
         [&] {
             QByteArray bytes = odt;
             putU32(bytes, bytes.size() - 6, 0x7FFFFFF0);
             return bytes;
         }(),
         "odt"},
        {"no end record", odt.left(odt.size() - 22), "odt"},
        {"picture cut short", saved(filled({200, 100}, Qt::red), "JPEG").left(40), "jpg"},
    };
    for (const auto& [what, bytes, typeCode] : cases) {
        const Extraction damaged = extract(bytes, QLatin1String(typeCode), Everything);
        EXPECT_TRUE(damaged.miniature.isNull()) << what;
        EXPECT_EQ(damaged.text, QString()) << what;
        EXPECT_NE(damaged.note, QString()) << what;
    }
}

TEST(DamagedDocuments, XmlCutShortKeepsTheWordsBeforeTheFault) {
    const Extraction cut = extract(odtWithContent(OdtContent.left(OdtContent.indexOf("<text:p>"))), {}, Everything);
    EXPECT_EQ(cut.text, QStringLiteral("Título\n"));
    EXPECT_TRUE(cut.note.contains(QStringLiteral("content.xml"))) << cut.note.toStdString();
}

// Random bits flipped in each format's file (a fixed series of seeds, so a failure repeats): the
// parsers return, and whatever they give keeps its promises.
TEST(DamagedDocuments, BitFlipsNeverBreakThePromises) {
    const QByteArray files[] = {twoPagePdf(), openDocument(OdtContent), docx(), sidewaysJpeg()};
    constexpr qsizetype Cap = 1000;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        QRandomGenerator random(seed);
        for (QByteArray flipped : files) {
            for (int flip = random.bounded(1, 9); flip > 0; --flip)
                flipped[random.bounded(flipped.size())] ^= char(1 << random.bounded(8));
            const Extraction result = extract(flipped, QString(), {.miniature = true, .text = true, .textCap = Cap});
            EXPECT_TRUE(result.miniature.isNull() || result.miniature.width() == 120) << "seed " << seed;
            EXPECT_LE(result.text.size(), Cap) << "seed " << seed;
        }
    }
}

}  // namespace
