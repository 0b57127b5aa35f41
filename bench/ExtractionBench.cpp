// Reading inside a PDF of 50 pages and about 10 MB (a large picture on each page): its miniature
// and its text through the content extractor, whose program is started once and kept, against
// poppler's pdftoppm (the first page, 120 pixels wide, as PNG) and pdftotext run on the same
// file; and the extraction program's peak resident set.
//
// Prints the medians; when DORVANEL_BENCH_SUMMARY names a file, appends their summary rows to
// it for bench/run.

#include "BenchSupport.h"
#include "platform/ContentExtractor.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace dorvanel;
using namespace dorvanel::bench;

namespace {

constexpr int Pages = 50;
constexpr int PicturePixels = 440;  // each page's picture is this square of noise: about 10 MB in all
constexpr int Runs = 15;
constexpr double MiniatureTargetMilliseconds = 150;
constexpr double RatioTarget = 1.5;
constexpr double PeakTargetMebibytes = 60;

void writePdf(const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    QPainter painter(&writer);
    QRandomGenerator random(20261206);
    QImage picture(PicturePixels, PicturePixels, QImage::Format_RGB32);
    for (int page = 0; page < Pages; ++page) {
        if (page > 0) writer.newPage();
        for (int y = 0; y < picture.height(); ++y)
            random.fillRange(reinterpret_cast<quint32*>(picture.scanLine(y)), picture.width());
        painter.drawImage(QRect(40, 160, 500, 500), picture);
        painter.drawText(QPointF(40, 80),
                         QStringLiteral("Página %1: informe de cuentas y facturas del año").arg(page + 1));
    }
}

double milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) times.push_back(milliseconds(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    Require(process.waitForFinished(-1) && process.exitCode() == 0, "a baseline program failed");
}

struct Figures {
    double miniature = 0;
    double text = 0;
    double peakMebibytes = 0;
};

// Ours, first in the process: the largest resident set of the children it has waited for is
// then the extraction program's.
Figures ours(const QString& pdf) {
    Figures figures;
    {
        ContentExtractor extractor;
        const ExtractedContent both = extractor.extractFile(pdf, QStringLiteral("pdf"));
        Require(!both.miniature.isEmpty() && !both.text.isEmpty(), "the PDF gave no miniature or no text");
        figures.miniature = median([&] { extractor.extractFile(pdf, QStringLiteral("pdf"), {true, false}); });
        figures.text = median([&] { extractor.extractFile(pdf, QStringLiteral("pdf"), {false, true}); });
    }
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    figures.peakMebibytes = double(children.ru_maxrss) / 1024.0;
    return figures;
}

void report(const char* name, double ours, double raw, const char* target, bool met, double peakMebibytes) {
    std::printf("%s ours=%.1fms raw=%.1fms ratio=%.2f peak=%.1fMiB\n", name, ours, raw, ours / raw, peakMebibytes);
    const QByteArray summary = qgetenv("DORVANEL_BENCH_SUMMARY");
    if (summary.isEmpty()) return;
    char line[256];
    std::snprintf(line, sizeof line, "%s\t%.1f ms\t%.1f ms\t%.2f\t%s\t%s\t%.1f MiB\t-\n", name, ours, raw, ours / raw,
                  target, met ? "met" : "MISSED", peakMebibytes);
    std::ofstream(summary.constData(), std::ios::app) << line;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ScratchFolder folder;
    const QString pdf = folder.path(QStringLiteral("informe.pdf"));
    writePdf(pdf);
    std::printf("%s: %lld bytes, %d pages\n", qPrintable(pdf), QFileInfo(pdf).size(), Pages);

    const Figures figures = ours(pdf);
    const QString png = folder.path(QStringLiteral("primera"));
    const double pdftoppm = median([&] {
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
             QStringLiteral("-scale-to"), QStringLiteral("120"), QStringLiteral("-png"), pdf, png});
    });
    const double pdftotext = median([&] {
        run(QStringLiteral("pdftotext"), {pdf, folder.path(QStringLiteral("texto.txt"))});
    });

    const bool peakMet = figures.peakMebibytes < PeakTargetMebibytes;
    report("extract_pdf_miniature_50_pages", figures.miniature, pdftoppm, "<= 1.50 x pdftoppm, < 150 ms, peak < 60 MiB",
           figures.miniature / pdftoppm <= RatioTarget && figures.miniature < MiniatureTargetMilliseconds && peakMet,
           figures.peakMebibytes);
    report("extract_pdf_text_50_pages", figures.text, pdftotext, "<= 1.50 x pdftotext, peak < 60 MiB",
           figures.text / pdftotext <= RatioTarget && peakMet, figures.peakMebibytes);
    return 0;
}
