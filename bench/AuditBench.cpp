// Verifying a record of changes of 1,000,000 sealed entries on SQLite: the entries are written
// directly and sealed at once, as a backlog of plain clients' writes would be, then
// verifyAuditLog walks the chain. Prints the seconds of the seal and of each verification; when
// DORVANEL_BENCH_SUMMARY names a file, appends the summary row to it for bench/run.

#include "BenchSupport.h"
#include "platform/Connection.h"
#include "repository/AuditLog.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

using namespace dorvanel;
using namespace dorvanel::bench;

namespace {

constexpr qint64 Entries = 1000000;
constexpr int Runs = 3;
constexpr double TargetSeconds = 5;

// Entries as the triggers write them: a store, then links, of ever new documents.
void writeEntries(const QString& path) {
    RawDatabase database(path);
    database.execute("BEGIN");
    RawStatement insert(database,
                        "INSERT INTO DocAudit (At, Who, Action, Doc, Parent, Sha256) VALUES (?, ?, ?, ?, ?, ?)");
    const QByteArray digest(64, 'a');
    for (qint64 n = 0; n < Entries; ++n) {
        const bool stored = n % 4 == 0;
        insert.bindText(1, "2026-12-06T10:00:00.000+00:00");
        insert.bindText(2, "usuario");
        insert.bindText(3, stored ? "stored" : "linked");
        insert.bindText(4, DocumentKey(n / 4));
        insert.bindText(5, stored ? QByteArray() : ParentKey(n % 4));
        insert.bindText(6, stored ? digest : QByteArray());
        insert.step();
        insert.reset();
    }
    database.execute("COMMIT");
}

double secondsOf(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(double seconds) {
    const QByteArray summary = qgetenv("DORVANEL_BENCH_SUMMARY");
    if (summary.isEmpty()) return;
    char ours[32];
    std::snprintf(ours, sizeof ours, "%.0f ms", seconds * 1000);
    std::ofstream(summary.constData(), std::ios::app)
        << "audit_verify_1M\t" << ours << "\t-\t-\t< 5 s\t" << (seconds < TargetSeconds ? "met" : "MISSED(time)")
        << "\t-\t-\n";
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    SilenceStatementLog();
    ScratchFolder folder;
    const QString path = folder.newDatabase();
    writeEntries(path);
    const auto connection = Connection::open(QStringLiteral("sqlite:") + path);
    std::printf("audit_seal_1M seconds=%.3f\n",
                secondsOf([&] { Require(sealAuditLog(*connection) == Entries, "seal"); }));
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        runs.push_back(secondsOf([&] {
            const AuditVerdict verdict = verifyAuditLog(*connection);
            Require(verdict.intact() && verdict.entries == Entries, "the chain is whole");
        }));
        std::printf("audit_verify_1M seconds=%.3f\n", runs.back());
    }
    std::sort(runs.begin(), runs.end());
    report(runs[Runs / 2]);
    return 0;
}
