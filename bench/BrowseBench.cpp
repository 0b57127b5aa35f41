// The browse dialog on one parent's documents: filled and painted for the first time, against
// reading the same rows with the raw C API, in one process per run so that its peak memory is
// its own (bench/run runs it):
//
//   dorvanel_bench_browse write DOCUMENTS FILE   writes a database of DOCUMENTS documents, all
//                                                linked to one parent
//   dorvanel_bench_browse show FILE              reads the rows raw, then shows the dialog; prints
//                                                "rows=N raw_seconds=S ours_seconds=S
//                                                 growth_kib=K texts_kib=K"
//
// growth_kib is the process's peak resident set while the dialog fills and paints, over its
// resident set before; texts_kib is the size of the texts the list holds, as UTF-8.

#include "BenchSupport.h"
#include "ListedDocuments.h"

#include "dialogs/dlgBrowse/dlgBrowse.h"
#include "dialogs/lists/ReportListView.h"
#include "repository/DocumentList.h"
#include "repository/SqlTexts.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace dorvanel;
using namespace dorvanel::bench;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int RawRuns = 3;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A figure of /proc/self/status in KiB: VmRSS now, VmHWM the peak so far.
qint64 statusKib(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    Require(status.open(QIODevice::ReadOnly), "cannot read /proc/self/status");
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(field)),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

QString browseStatement() { return SqlTexts::documentList(QString::fromLatin1(ParentKey(0)), false, {}, false); }

// The median time of reading the browse list's rows raw; gives the row count too.
double rawSeconds(const QString& database, int& rows) {
    RawDatabase raw(database);
    std::vector<double> times;
    for (int run = 0; run < RawRuns; ++run) {
        qint64 textBytes = 0;
        const auto start = Clock::now();
        rows = ReadRowsAsText(raw, browseStatement().toUtf8(), textBytes);
        times.push_back(secondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[RawRuns / 2];
}

// The UTF-8 bytes of the eight texts the browse list keeps of each row.
qint64 listedTextBytes(const QString& database) {
    RawDatabase raw(database);
    qint64 textBytes = 0;
    const QString sql = browseStatement().replace(
        QStringLiteral("SELECT *"),
        QStringLiteral("SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid"));
    ReadRowsAsText(raw, sql.toUtf8(), textBytes);
    return textBytes;
}

// Notes the first time its widget paints.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* widget) { widget->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// From creating the dialog to its list's first paint.
double oursSeconds(const QString& database, int rows) {
    ComponentSession session(database);
    const auto start = Clock::now();
    dlgBrowse dialog;
    dialog.SetParents(QString::fromLatin1(ParentKey(0)));
    dialog.IniciarBrw();
    auto* list = dialog.findChild<ReportListView*>(QStringLiteral("lvwDocs"));
    FirstPaint paint(list->viewport());
    dialog.show();
    while (!paint.painted) QApplication::processEvents();
    const double seconds = secondsSince(start);
    Require(dialog.DocumentItems().Count() == rows, "the dialog lists the wrong number of documents");
    return seconds;
}

int show(const QString& database) {
    int rows = 0;
    const double raw = rawSeconds(database, rows);
    const qint64 texts = listedTextBytes(database);
    const qint64 before = statusKib("VmRSS");
    const double ours = oursSeconds(database, rows);
    std::printf("rows=%d raw_seconds=%.6f ours_seconds=%.6f growth_kib=%lld texts_kib=%lld\n", rows, raw, ours,
                statusKib("VmHWM") - before, texts / 1024);
    return 0;
}

int write(int documents, const QString& database) {
    CreateDatabase(database);
    RawDatabase raw(database);
    InsertListedDocuments(raw, documents, 1);
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: dorvanel_bench_browse write DOCUMENTS FILE | show FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SilenceStatementLog();
    try {
        if (argc == 4 && std::strcmp(argv[1], "write") == 0)
            return write(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]));
        if (argc == 3 && std::strcmp(argv[1], "show") == 0) return show(QString::fromLocal8Bit(argv[2]));
        return usage();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s failed: %s\n", argv[1], failure.what());
        return 1;
    }
}
