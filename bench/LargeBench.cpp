// Large documents, one case per process so that the process's peak memory belongs to that
// case alone (bench/run reads it with /usr/bin/time -v):
//
//   dorvanel_bench_large store200 | store200-raw | fetch50 | fetch50-raw
//
// Prints "<case> seconds=<time of the store or fetch alone>".

#include "BenchSupport.h"
#include "DocumentTransfers.h"

#include <QCoreApplication>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

using namespace dorvanel::bench;

namespace {

constexpr qint64 StoredBytes = 200 * Mebibyte;

template <typename Work>
double secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

QString largeFile(ScratchFolder& folder) {
    const QString file = folder.path(QStringLiteral("large.") + StoredFileType);
    WriteRandomFile(file, StoredBytes);
    return file;
}

double storeThroughComponent(ScratchFolder& folder) {
    const QString file = largeFile(folder);
    ComponentSession session(folder.newDatabase());
    return secondsOf([&] { StoreThroughComponent(session.manager(), file); });
}

double storeRaw(ScratchFolder& folder) {
    const QString file = largeFile(folder);
    RawDatabase database(folder.newDatabase());
    return secondsOf([&] { StoreIncrementallyRaw(database, file, StoredFileType); });
}

double fetchThroughComponent(ScratchFolder& folder) {
    const FetchSource source = PrepareFetchSource(folder, FetchedDocumentBytes);
    ComponentSession session(source.database);
    QString fetched;
    const double seconds = secondsOf([&] { fetched = FetchThroughComponent(session.connection(), source.sysPk); });
    QFile::remove(fetched);
    return seconds;
}

double fetchRaw(ScratchFolder& folder) {
    const FetchSource source = PrepareFetchSource(folder, FetchedDocumentBytes);
    RawDatabase database(source.database);
    QString fetched;
    const double seconds = secondsOf([&] { fetched = FetchRaw(database, source.sysPk); });
    QFile::remove(fetched);
    return seconds;
}

const std::map<std::string, std::function<double(ScratchFolder&)>> Cases{
    {"store200", storeThroughComponent},
    {"store200-raw", storeRaw},
    {"fetch50", fetchThroughComponent},
    {"fetch50-raw", fetchRaw},
};

int usage() {
    std::fprintf(stderr, "usage: dorvanel_bench_large CASE\ncases:");
    for (const auto& entry : Cases) std::fprintf(stderr, " %s", entry.first.c_str());
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    SilenceStatementLog();
    const auto chosen = argc == 2 ? Cases.find(argv[1]) : Cases.end();
    if (chosen == Cases.end()) return usage();
    try {
        ScratchFolder folder;
        std::printf("%s seconds=%.6f\n", chosen->first.c_str(), chosen->second(folder));
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s failed: %s\n", chosen->first.c_str(), failure.what());
        return 1;
    }
}
