// `dorvanel import` of a folder of one-page PDFs, timed as a user runs it, with each document's
// miniature and text read by the extraction program (and once more with --no-miniature): prints
// documents a second. Arguments: how many PDFs (1,000 unless given).

#include "support/PdfSample.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

const QString Parent(32, QLatin1Char('P'));

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Runs the program to its end; gives its time in seconds.
double run(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer elapsed;
    elapsed.start();
    process.start(QStringLiteral(DORVANEL_CLI), arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("dorvanel %s failed", qPrintable(arguments.join(' ')));
    return double(elapsed.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 1000;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("pdfs"));
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i)
        writeFile(QStringLiteral("%1/informe%2.pdf").arg(folder).arg(i, 4, 10, QLatin1Char('0')),
                  dorvanel::test::onePagePdf(QStringLiteral("Informe número %1 de la obra").arg(i)));
    QTextStream out(stdout);
    for (const QStringList& options : {QStringList(), QStringList{QStringLiteral("--no-miniature")}}) {
        const QString database = QStringLiteral("sqlite:") +
                                 dir.filePath(QStringLiteral("import%1.sqlite").arg(options.size()));
        run({QStringLiteral("--db"), database, QStringLiteral("init")});
        const double seconds = run(QStringList{QStringLiteral("--db"), database, QStringLiteral("import"), folder,
                                               QStringLiteral("--parent"), Parent, QStringLiteral("--parent-type"),
                                               QStringLiteral("Cliente")} +
                                   options);
        out << "import of " << count << " one-page PDFs" << (options.isEmpty() ? "" : " --no-miniature") << ": "
            << seconds << " s, " << count / seconds << " documents/s" << Qt::endl;
    }
    return 0;
}
