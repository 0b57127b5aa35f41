// Large documents, one case per process so that the process's peak memory belongs to that
// case alone (bench/run reads it with /usr/bin/time -v):
//
//   dorvanel_bench_large store200 | store200-raw | fetch50 | fetch50-raw        (SQLite)
//   dorvanel_bench_large pg-store100 | pg-import100 | pg-get100 | pg-temp100 |
//                        pg-temp200 | pg-export100 | pg-export200                (PostgreSQL)
//
// The PostgreSQL cases use the server at DORVANEL_BENCH_PG_URL, emptied first; their raw
// baselines are libpq's large-object import and export of the same file.
//
// Prints "<case> seconds=<time of the store or fetch alone>".

#include "BenchSupport.h"
#include "DocumentTransfers.h"
#include "ServerTransfers.h"
#include "component/Manager.h"
#include "platform/Connection.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

using dorvanel::Connection;
using namespace dorvanel::bench;

namespace {

constexpr qint64 StoredBytes = 200 * Mebibyte;
constexpr qint64 ServerBytes = 100 * Mebibyte;

template <typename Work>
double secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

QString largeFile(ScratchFolder& folder, qint64 bytes = StoredBytes) {
    const QString file = folder.path(QStringLiteral("large.") + StoredFileType);
    WriteRandomFile(file, bytes);
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

double storeOnServer(ScratchFolder& folder) {
    const QString file = largeFile(folder, ServerBytes);
    RawServer().reset();
    ComponentSession session(Connection::open(ServerUrl()));
    return secondsOf([&] { StoreThroughComponent(session.manager(), file); });
}

double importToServer(ScratchFolder& folder) {
    const QString file = largeFile(folder, ServerBytes);
    RawServer server;
    server.reset();
    return secondsOf([&] { server.importFile(file); });
}

// A file of the given size put on an emptied server by put (untimed), then checkpointed so
// that the timed part pays nothing for it; gives what put gave.
template <typename Put>
auto putOnServer(ScratchFolder& folder, qint64 bytes, RawServer& server, Put&& put) {
    const QString file = largeFile(folder, bytes);
    server.reset();
    const auto placed = put(file);
    QFile::remove(file);
    server.checkpoint();
    return placed;
}

// A new document of the given size on an emptied server, stored there without the component.
ServerDocument documentOnServer(ScratchFolder& folder, qint64 bytes) {
    RawServer server;
    return putOnServer(folder, bytes, server, [&](const QString& file) { return server.storeDocument(file); });
}

using ServerFetch = std::function<QString(const ComponentSession&, const ServerDocument&)>;

// A document of the given size put on the server untimed, then fetched through the component.
double fetchFromServer(ScratchFolder& folder, qint64 bytes, const ServerFetch& fetch) {
    const ServerDocument document = documentOnServer(folder, bytes);
    ComponentSession session(Connection::open(ServerUrl()));
    QString fetched;
    const double seconds = secondsOf([&] { fetched = fetch(session, document); });
    Require(QFileInfo(fetched).size() == bytes, "the component wrote a file of another size");
    QFile::remove(fetched);
    return seconds;
}

QString getDocumentFile(const ComponentSession& session, const ServerDocument& document) {
    return session.manager().GetDocumentFile(document.guid);
}

QString documentToTempFile(const ComponentSession& session, const ServerDocument& document) {
    return FetchThroughComponent(session.connection(), document.sysPk);
}

double exportFromServer(ScratchFolder& folder, qint64 bytes) {
    RawServer server;
    const unsigned largeObject = putOnServer(folder, bytes, server,
                                             [&](const QString& file) { return server.importFile(file); });
    const QString exported = RawFetchedFile();
    const double seconds = secondsOf([&] { server.exportFile(largeObject, exported); });
    QFile::remove(exported);
    return seconds;
}

const std::map<std::string, std::function<double(ScratchFolder&)>> Cases{
    {"store200", storeThroughComponent},
    {"store200-raw", storeRaw},
    {"fetch50", fetchThroughComponent},
    {"fetch50-raw", fetchRaw},
    {"pg-store100", storeOnServer},
    {"pg-import100", importToServer},
    {"pg-get100", [](ScratchFolder& folder) { return fetchFromServer(folder, ServerBytes, getDocumentFile); }},
    {"pg-temp100", [](ScratchFolder& folder) { return fetchFromServer(folder, ServerBytes, documentToTempFile); }},
    {"pg-temp200", [](ScratchFolder& folder) { return fetchFromServer(folder, 2 * ServerBytes, documentToTempFile); }},
    {"pg-export100", [](ScratchFolder& folder) { return exportFromServer(folder, ServerBytes); }},
    {"pg-export200", [](ScratchFolder& folder) { return exportFromServer(folder, 2 * ServerBytes); }},
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
