#include "platform/ContentExtractor.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>
#include <QBuffer>

using namespace dorvanel;

namespace {

ExtractionLimits misbehavingProgram() {
    ExtractionLimits limits;
    limits.program = QStringLiteral(DORVANEL_MISBEHAVING_EXTRACTOR);
    limits.milliseconds = 400;
    return limits;
}

ExtractedContent extractBytes(ContentExtractor& extractor, const QByteArray& bytes, const QString& typeCode) {
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    return extractor.extract(source, bytes.size(), typeCode);
}

// The stand-in answers a good document with "PID:" and the document's bytes.
QByteArray programId(const ExtractedContent& echoed) { return echoed.text.toUtf8().split(':').value(0); }

// An A4 page for each text, the text on it.
// A source that holds fewer bytes than it was said to.
class ShortSource : public QBuffer {
public:
    ShortSource() {
        setData("solo esto");
        open(QIODevice::ReadOnly);
    }
};

}  // namespace

// Whatever the program does wrong, the document gets no parts and a note saying why; the host
// goes on, and the next document is read by a program started afresh.
TEST(ContentExtractor, AProgramThatMisbehavesCostsOneDocumentOnly) {
    struct Case {
        const char* how;
        const char* note;
    } const cases[] = {
        {"crash", "terminó de forma anormal (señal 6)"}, {"alarm", "superó su tiempo límite de 0.4 segundos"},
        {"hang", "no respondió en 1.5 segundos"},        {"exit", "terminó sin responder (estado 0)"},
        {"garbage", "dio una respuesta no válida"},      {"huge", "dio una respuesta no válida"},
    };
    ContentExtractor extractor(misbehavingProgram());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const ExtractedContent before = extractBytes(extractor, "antes", QStringLiteral("txt"));
        ASSERT_TRUE(before.text.endsWith(QStringLiteral(":antes")))
            << before.text.toStdString() << before.note.toStdString();
        const ExtractedContent failed = extractBytes(extractor, "documento", QString::fromLatin1(c.how));
        EXPECT_TRUE(failed.miniature.isEmpty());
        EXPECT_TRUE(failed.text.isEmpty());
        EXPECT_TRUE(failed.note.contains(QString::fromUtf8(c.note))) << failed.note.toStdString();
        const ExtractedContent after = extractBytes(extractor, "después", QStringLiteral("txt"));
        EXPECT_EQ(after.text.section(QLatin1Char(':'), 1), QStringLiteral("después"));
        EXPECT_TRUE(after.note.isEmpty());
        EXPECT_NE(programId(after), programId(before));
    }
}

// The host decodes a miniature later, so one that is not the BMP the program is meant to send is
// left out, with a note; the text stays.
TEST(ContentExtractor, LeavesOutAMiniatureThatIsNoBitmap) {
    ContentExtractor extractor(misbehavingProgram());
    const ExtractedContent content = extractBytes(extractor, "documento", QStringLiteral("widebmp"));
    EXPECT_TRUE(content.miniature.isEmpty());
    EXPECT_EQ(content.text, QStringLiteral("sus palabras"));
    EXPECT_EQ(content.note, QStringLiteral("El programa de extracción dio una miniatura no válida"));
}

// A batch pays the program's start once.
TEST(ContentExtractor, KeepsTheProgramForTheNextDocuments) {
    ContentExtractor extractor(misbehavingProgram());
    const QByteArray first = programId(extractBytes(extractor, "uno", QStringLiteral("txt")));
    EXPECT_FALSE(first.isEmpty());
    for (const char* document : {"dos", "tres"})
        EXPECT_EQ(programId(extractBytes(extractor, document, QStringLiteral("txt"))), first);
}

// A document the extractor cannot send, or whose program cannot run, gets a note without parts;
// the extractor is still good for the next one.
TEST(ContentExtractor, WhatCannotBeSentGivesANote) {
    ExtractionLimits missing;
    missing.program = QStringLiteral("/nonexistent/dorvanel-extract");
    ContentExtractor withoutProgram(missing);
    EXPECT_TRUE(extractBytes(withoutProgram, "hola", QStringLiteral("txt"))
                    .note.startsWith(QStringLiteral("No se pudo iniciar el programa de extracción /nonexistent/")));

    ExtractionLimits small = misbehavingProgram();
    small.documentBytes = 4;
    ContentExtractor withSmallLimit(small);
    EXPECT_EQ(extractBytes(withSmallLimit, "cinco", QStringLiteral("txt")).note,
              QStringLiteral("El documento ocupa 5 bytes, más de los 4 que se leen para su miniatura y su texto"));

    ContentExtractor extractor(misbehavingProgram());
    ShortSource shortSource;
    EXPECT_TRUE(extractor.extract(shortSource, 4 + shortSource.size(), QStringLiteral("txt"))
                    .note.startsWith(QStringLiteral("No se pudo leer el documento")));
    EXPECT_TRUE(extractBytes(extractor, "sí", QStringLiteral("txt")).text.endsWith(QStringLiteral(":sí")));
    EXPECT_TRUE(extractor.extractFile(QStringLiteral("/nonexistent/a.txt"), QStringLiteral("txt"))
                    .note.startsWith(QStringLiteral("No se pudo abrir /nonexistent/a.txt")));
}

// The real program, found beside the library, under a memory limit too small for the
// document: a note, and the next document that fits goes through.
TEST(ContentExtractor, TheProgramsMemoryLimitCostsTheDocument) {
#ifdef DORVANEL_SANITIZED_BUILD
    GTEST_SKIP() << "the address sanitizer's allocator ends the program when its memory runs out, where the "
                    "program's own allocator fails the allocation";
#endif
    ExtractionLimits limits;
    limits.memoryBytes = 4 * 1024 * 1024;
    ContentExtractor extractor(limits);
    const ExtractedContent large = extractBytes(extractor, QByteArray(32 * 1024 * 1024, 'a'), QStringLiteral("txt"));
    EXPECT_EQ(large.note, QStringLiteral("La extracción superó su límite de memoria de 4 MiB"));
    EXPECT_TRUE(extractBytes(extractor, "pequeño", QStringLiteral("txt")).note.isEmpty());
}

// Plain text goes through the real program and comes back as its words, accents and all, or
// none; a picture is not made when not asked for.
TEST(ContentExtractor, PlainTextRoundTripsThroughTheProgram) {
    struct Case {
        QByteArray bytes;
        qsizetype textCap;
        const char* text;
    } const cases[] = {
        {"Factura de señor Ñandú, año 2026", 1000, "Factura de señor Ñandú, año 2026"},
        {"", 1000, ""},
    };
    ContentExtractor extractor;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QBuffer source;
        source.setData(c.bytes);
        source.open(QIODevice::ReadOnly);
        const ExtractedContent content = extractor.extract(source, c.bytes.size(), QStringLiteral("txt"),
                                                           {false, true, c.textCap});
        EXPECT_EQ(content.text, QString::fromUtf8(c.text));
        EXPECT_TRUE(content.miniature.isEmpty());
        EXPECT_TRUE(content.note.isEmpty()) << content.note.toStdString();
    }
}

// A PDF whose page tree lists itself as its own kid, the node packed into a compressed object
// stream, where no look at the file's plain text sees it: Qt PDF never finishes loading it.
QByteArray pdfLoopingInsideAnObjectStream() {
    const QByteArray header = "2 0 ", node = "<< /Type /Pages /Kids [2 0 R] /Count 1 >>";
    const QByteArray packed = qCompress(header + node).mid(4);  // a zlib stream, without Qt's length
    QByteArray pdf = "%PDF-1.5\n";
    QList<qsizetype> offsets{0};
    offsets << pdf.size();
    pdf += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    offsets << 3 << pdf.size();  // object 2 is the first in stream 3
    pdf += "3 0 obj\n<< /Type /ObjStm /N 1 /First " + QByteArray::number(header.size()) +
           " /Filter /FlateDecode /Length " + QByteArray::number(packed.size()) + " >>\nstream\n" + packed +
           "\nendstream\nendobj\n";
    offsets << pdf.size();
    // Cross-reference stream rows: type (1 byte), offset or stream (4), generation or index (2).
    const QList<int> types{0, 1, 2, 1, 1};
    QByteArray rows;
    for (qsizetype object = 0; object < types.size(); ++object) {
        const quint32 field = quint32(offsets[object]);
        rows += char(types[object]);
        for (int shift = 24; shift >= 0; shift -= 8) rows += char((field >> shift) & 0xFF);
        rows += object == 0 ? QByteArray("\xFF\xFF", 2) : QByteArray(2, '\0');
    }
    pdf += "4 0 obj\n<< /Type /XRef /Size 5 /W [1 4 2] /Root 1 0 R /Length " + QByteArray::number(rows.size()) +
           " >>\nstream\n" + rows + "\nendstream\nendobj\nstartxref\n" + QByteArray::number(offsets[4]) + "\n%%EOF\n";
    return pdf;
}

// The real program's own clock ends it when a document takes longer than its time. The next
// document goes through.
TEST(ContentExtractor, TheProgramsTimeLimitCostsTheDocument) {
    const QByteArray loopingPdf = pdfLoopingInsideAnObjectStream();
    ExtractionLimits limits;
    limits.milliseconds = 500;
    ContentExtractor extractor(limits);
    EXPECT_EQ(extractBytes(extractor, loopingPdf, QStringLiteral("pdf")).note,
              QStringLiteral("La extracción superó su tiempo límite de 0.5 segundos"));
    EXPECT_EQ(extractBytes(extractor, "hola", QStringLiteral("txt")).text, QStringLiteral("hola"));
}
