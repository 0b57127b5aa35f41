// Several processes working one database at once for a while, on each engine: they store, link,
// list, search, fetch and remove. Nothing is lost and nothing is refused: every document still
// there gives back the bytes stored, and every one removed is gone. DORVANEL_LOAD_SECONDS sets how
// long each engine is worked (8 seconds unless set), as `ctest -L load` does for a longer run.

#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <thread>
#include <vector>

using namespace dorvanel::test;

namespace {

constexpr int Workers = 4;

QByteArray sha256(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256); }

// What one process did: the documents it stored and kept, with their digests, those it removed,
// and the runs that failed or gave something else than they should.
struct WorkerLog {
    QHash<QString, QByteArray> kept;
    QStringList removed;
    QStringList failures;
};

class CliLoadTest : public CliFixture {
protected:
    static qint64 loadMilliseconds() {
        const int seconds = qEnvironmentVariableIntValue("DORVANEL_LOAD_SECONDS");
        return 1000LL * (seconds > 0 ? seconds : 8);
    }

    // Stores documents of its own until the time is up, each under a name no other worker uses
    // (its one word is found by search), and removes every third one.
    void work(int worker, qint64 milliseconds, WorkerLog& log) const {
        const auto runLogged = [&](const char* line, const QStringList& values) {
            const QStringList arguments = commandLine(line, values);
            const CliResult result = run(arguments);
            if (result.status != 0) log.failures << arguments.join(u' ') + QStringLiteral(": ") + toText(result);
            return result;
        };
        QRandomGenerator random{quint32(worker)};
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; clock.elapsed() < milliseconds; ++i) {
            const QString name = QStringLiteral("w%1n%2x").arg(worker).arg(i);
            QByteArray content(qsizetype(random.bounded(1024, 256 * 1024)), Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(content.data()), content.size() / 4);
            writeFile(name + QStringLiteral(".bin"), content);
            const CliResult stored = runLogged("store %1.bin --name %1 --parent-type Cliente --parent %2",
                                               {name, key(char('P' + worker))});
            if (stored.status != 0) continue;
            const QString guid = stored.lastLine();
            runLogged("link {S} %1 --parent-type Cliente", {guid});
            runLogged("list --json --parents {S}", {});
            if (!runLogged("search %1 --json", {name}).out.contains(guid.toUtf8()))
                log.failures << QStringLiteral("search %1 did not find %2").arg(name, guid);
            if (runLogged("get %1", {guid}).out != content)
                log.failures << QStringLiteral("get %1 gave other bytes").arg(guid);
            if (i % 3 == 2 && runLogged("rm %1", {guid}).status == 0) log.removed << guid;
            else log.kept.insert(guid, sha256(content));
        }
    }

    static QString toText(const CliResult& result) { return QString::number(result.status) + u' ' + result.err; }
};

TEST_F(CliLoadTest, ProcessesSharingOneDatabaseLoseNothingAndAreNeverRefused) {
    for (const QString& url : engines()) {
        useDatabase(url);
        std::vector<WorkerLog> logs(Workers);
        std::vector<std::thread> threads;
        for (int worker = 0; worker < Workers; ++worker)
            threads.emplace_back([&, worker] { work(worker, loadMilliseconds(), logs[worker]); });
        for (std::thread& thread : threads) thread.join();

        qsizetype checked = 0;
        for (const WorkerLog& log : logs) {
            EXPECT_TRUE(log.failures.isEmpty()) << url.toStdString() << '\n' << log.failures.join(u'\n').toStdString();
            for (auto kept = log.kept.cbegin(); kept != log.kept.cend(); ++kept, ++checked)
                EXPECT_EQ(sha256(runLine("get %1", {kept.key()}).out), kept.value()) << kept.key().toStdString();
            for (const QString& guid : log.removed)
                EXPECT_EQ(runLine("get %1", {guid}).status, 4) << guid.toStdString();
        }
        EXPECT_EQ(listedNames("--all").size(), checked) << url.toStdString();
        EXPECT_GE(checked, Workers) << "every worker kept at least one document";
    }
}

}  // namespace
