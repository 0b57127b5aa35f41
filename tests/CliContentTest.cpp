// What store, import and miniatures read from documents through the extraction program, run as a
// user runs them on a SQLite file of their own.

#include "support/CliRun.h"
#include "support/PdfSample.h"
#include "support/PictureBytes.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <functional>
#include <iostream>

namespace {

using namespace dorvanel::test;
using CliContentTest = CliFixture;

// The width and height of the miniature the document has, "" when it has none.
QString miniatureOf(const std::function<QVariant(const QString&)>& value, const QString& name) {
    const QImage miniature =
        QImage::fromData(value(QStringLiteral("SELECT MiniData FROM Docs WHERE Name = '%1'").arg(name)).toByteArray());
    return miniature.isNull() ? QString() : QStringLiteral("%1x%2").arg(miniature.width()).arg(miniature.height());
}

// A PDF goes in whole and comes out searchable by a word of its page, with its first page's
// miniature unless --no-miniature; a damaged one is stored all the same, with a note and exit 0.
// miniatures counts them, and --backfill makes the missing one from the stored content.
TEST_F(CliContentTest, StoreReadsTheDocumentOnceStoredAndMiniaturesFillsWhatIsMissing) {
    writeFile(QStringLiteral("informe.pdf"), onePagePdf(QStringLiteral("presupuesto tejado")));
    writeFile(QStringLiteral("roto.pdf"), QByteArray("%PDF-1.7\n1 0 obj << /Type /Catalog"));
    const auto value = [&](const QString& sql) { return sqlValue(sql); };

    EXPECT_FALSE(store("informe.pdf --name Informe").isEmpty());
    EXPECT_FALSE(store("informe.pdf --name Desnudo --no-miniature").isEmpty());
    const CliResult damaged = runLine("store roto.pdf --name Roto");
    EXPECT_TRUE(ended(damaged, 0, QStringLiteral("Nota: roto.pdf: "))) << damaged;
    EXPECT_TRUE(damaged.err.contains(QStringLiteral("se guardó sin miniatura ni texto"))) << damaged;

    EXPECT_EQ(miniatureOf(value, QStringLiteral("Informe")), QStringLiteral("120x170"));
    EXPECT_EQ(miniatureOf(value, QStringLiteral("Desnudo")), QString());
    const CliResult found = runLine("search tejado --json");
    EXPECT_TRUE(ended(found, 0, QStringLiteral("Informe")) && found.out.contains("Desnudo")) << found;
    EXPECT_TRUE(ended(runLine("miniatures"), 0, QStringLiteral("con miniatura: 1\nsin miniatura: 2")));

    const CliResult backfilled = runLine("miniatures --backfill");
    EXPECT_TRUE(ended(backfilled, 0, QStringLiteral("con miniatura: 2\nsin miniatura: 1"))) << backfilled;
    EXPECT_TRUE(backfilled.err.contains(QStringLiteral("miniaturas hechas: 1 de 2"))) << backfilled;
    EXPECT_EQ(miniatureOf(value, QStringLiteral("Desnudo")), QStringLiteral("120x170"));
}

// Damaged documents of every kind the program parses, made here from sound ones.
class MalformedDocuments {
public:
    explicit MalformedDocuments(quint32 seed) : random_(seed) {}

    QList<std::pair<QString, QByteArray>> all() {
        const QByteArray pdf = onePagePdf(QStringLiteral("documento sano"));
        const QByteArray docx =
            zipArchive({{.name = QStringLiteral("word/document.xml"), .data = WordXml},
                        {.name = QStringLiteral("docProps/thumbnail.png"), .data = pictureBytes({64, 48}, "PNG")}});
        const QByteArray odt = zipArchive(
            {{.name = QStringLiteral("mimetype"), .data = "application/vnd.oasis.opendocument.text", .deflated = false},
             {.name = QStringLiteral("content.xml"), .data = OdtXml}});
        const QByteArray jpeg = pictureBytes({640, 480}, "JPEG");
        const QByteArray png = pictureBytes({320, 240}, "PNG");
        for (int i = 1; i <= 25; ++i) add(QStringLiteral("pdf"), pdf.left(pdf.size() * i / 26));
        addFlipped(QStringLiteral("pdf"), pdf, 35);
        addFlipped(QStringLiteral("docx"), docx, 25);
        addFlipped(QStringLiteral("odt"), odt, 20);
        addFlipped(QStringLiteral("jpg"), jpeg, 25);
        addFlipped(QStringLiteral("png"), png, 20);
        // 100 MB of zeros deflate to about 100 KB; the second lies about its size as well.
        const QByteArray zeros(100 * 1024 * 1024, '\0');
        add(QStringLiteral("docx"), zipArchive({{.name = QStringLiteral("word/document.xml"), .data = zeros}}));
        add(QStringLiteral("odt"),
            zipArchive({{.name = QStringLiteral("content.xml"), .data = zeros, .declaredSize = 100}}));
        for (const QByteArray& loop : LoopingPageTrees) add(QStringLiteral("pdf"), loop);
        for (const auto& [type, count] : {std::pair{"pdf", 15}, {"docx", 10}, {"odt", 10}, {"jpg", 10}})
            for (int i = 0; i < count; ++i) add(QLatin1String(type), garbage());
        return documents_;
    }

private:
    void add(const QString& type, const QByteArray& bytes) {
        documents_.append(
            {QStringLiteral("malo%1.%2").arg(documents_.size(), 3, 10, QLatin1Char('0')).arg(type), bytes});
    }

    // Each copy with from one to eight bits flipped at random.
    void addFlipped(const QString& type, const QByteArray& sound, int copies) {
        for (int copy = 0; copy < copies; ++copy) {
            QByteArray bytes = sound;
            for (int flips = 1 + random_.bounded(8); flips > 0; --flips)
                bytes[random_.bounded(bytes.size())] ^= char(1 << random_.bounded(8));
            add(type, bytes);
        }
    }

    QByteArray garbage() {
        QByteArray bytes(1 + random_.bounded(64 * 1024), Qt::Uninitialized);
        for (char& byte : bytes) byte = char(random_.bounded(256));
        return bytes;
    }

    static constexpr char WordXml[] =
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p><w:r>"
        "<w:t>Hola mundo</w:t></w:r></w:p></w:body></w:document>";
    static constexpr char OdtXml[] =
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
        "<text:p>Hola mundo</text:p></office:text></office:body></office:document-content>";
    // A page tree whose /Kids lead back to itself, to its own parent, and round two nodes.
    inline static const QByteArray LoopingPageTrees[] = {
        "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
        "2 0 obj << /Type /Pages /Kids [2 0 R] /Count 1 >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n",
        "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
        "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
        "3 0 obj << /Type /Pages /Parent 2 0 R /Kids [2 0 R] /Count 1 >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n",
        "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
        "2 0 obj << /Type /Pages /Parent 2 0 R /Kids [2 0 R 2 0 R 2 0 R] /Count 1000000 >> endobj\n"
        "trailer << /Root 1 0 R >>\n%%EOF\n",
    };

    QRandomGenerator random_;
    QList<std::pair<QString, QByteArray>> documents_;
};

// The process's own peak resident set (VmHWM), its extraction programs left out, in KiB.
qint64 peakResidentKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// 200 damaged documents imported with the real extraction program: every one is stored (the
// parsers' failures, hangs and bombs cost only their miniature and text), the program that
// runs import never crashes, and it stays small, whatever the documents make the program take.
TEST_F(CliContentTest, ImportStoresEveryMalformedDocumentAndStaysSmall) {
    const auto documents = MalformedDocuments(announcedSeed()).all();
    ASSERT_EQ(documents.size(), 200);
    for (const auto& [name, bytes] : documents) writeFile(QStringLiteral("malos/") + name, bytes);

    QProcess import;
    runner.start(import, withDatabase(commandLine("import malos --parent {P} --parent-type Cliente")));
    ASSERT_TRUE(import.waitForStarted());
    qint64 peakKiB = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!import.waitForFinished(20) && elapsed.elapsed() < 120'000)
        peakKiB = std::max(peakKiB, peakResidentKiB(import.processId()));
    const QString err = QString::fromUtf8(import.readAllStandardError());
    ASSERT_EQ(import.exitStatus(), QProcess::NormalExit) << err.toStdString();
    EXPECT_EQ(import.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT COUNT(*) FROM Docs")).toInt(), 200);
    EXPECT_EQ(sqlValue(QStringLiteral("SELECT COUNT(*) FROM DocText")).toInt(), 200) << "each one read";
    EXPECT_TRUE(err.contains(QStringLiteral("200 nuevos"))) << err.toStdString();
    EXPECT_GT(peakKiB, 0);
    EXPECT_LT(peakKiB, 300 * 1024) << "peak resident set of the command";
    std::cout << "import of 200 malformed documents: " << elapsed.elapsed() << " ms, peak " << peakKiB / 1024 << " MiB"
              << std::endl;
}

}  // namespace
