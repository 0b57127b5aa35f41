// The dorvanel command run by several processes at once on one SQLite file, and killed halfway.

#include "platform/Connection.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QThread>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// Large enough that a store spends a good while writing; smaller under the sanitizers.
#ifdef DORVANEL_SANITIZED_BUILD
constexpr qint64 LargeSize = 16 * 1024 * 1024;
#else
constexpr qint64 LargeSize = 64 * 1024 * 1024;
#endif

using CliConcurrencyTest = CliFixture;

// A store killed at any point leaves either no row or a whole one, and a sound database.
TEST_F(CliConcurrencyTest, StoreKilledAtRandomPointsLeavesNoPartialDocument) {
    writeFile(QStringLiteral("grande.bin"), noise(LargeSize));
    QElapsedTimer whole;
    whole.start();
    store("grande.bin --name Completo");
    const int storeMs = int(whole.elapsed());
    const quint32 seed = announcedSeed();
    SCOPED_TRACE("DORVANEL_TEST_SEED=" + std::to_string(seed));
    QRandomGenerator killTimes(seed);
    for (int trial = 0; trial < 5; ++trial) {
        QProcess storing;
        runner.start(storing, withDatabase(commandLine("store grande.bin --name Matado%1", {QString::number(trial)})));
        ASSERT_TRUE(storing.waitForStarted());
        QThread::msleep(killTimes.bounded(storeMs + 1));
        storing.kill();
        storing.waitForFinished();
    }
    EXPECT_EQ(sqlValue(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(
        sqlValue(QStringLiteral("SELECT group_concat(Name) FROM Docs WHERE length(Data) <> ?"), {LargeSize}).toString(),
        QString())
        << "partly stored";
    store("grande.bin --name Siguiente");
}

// A replace killed while it writes leaves the version before it current and whole, the versions
// as they were, and a sound database: killed at points of the time a whole replace takes up to its
// commit, some fixed and some at random.
TEST_F(CliConcurrencyTest, ReplaceKilledWhileWritingLeavesThePreviousVersionWhole) {
    const QByteArray before = noise(LargeSize - 4);
    writeFile(QStringLiteral("antes.bin"), before);
    writeFile(QStringLiteral("otra.bin"), noise(LargeSize));
    writeFile(QStringLiteral("despues.bin"), noise(LargeSize + 4));
    const quint32 seed = announcedSeed();
    SCOPED_TRACE("DORVANEL_TEST_SEED=" + std::to_string(seed));
    QRandomGenerator killTimes(seed);
    for (const QString& url : engines()) {
        SCOPED_TRACE(url.toStdString());
        useDatabase(url);
        const QString guid = store("antes.bin --name Acta --no-miniature");
        ASSERT_TRUE(ended(runLine("replace %1 otra.bin --no-miniature", {guid}), 0, QStringLiteral("2")));
        ASSERT_TRUE(ended(runLine("replace %1 antes.bin --no-miniature", {guid}), 0, QStringLiteral("3")));
        // Timed as the killed ones run: the current content's bytes are kept already.
        QElapsedTimer whole;
        whole.start();
        ASSERT_TRUE(ended(runLine("replace %1 otra.bin --no-miniature", {guid}), 0, QStringLiteral("4")));
        const int replaceMs = int(whole.elapsed());
        ASSERT_TRUE(ended(runLine("replace %1 antes.bin --no-miniature", {guid}), 0, QStringLiteral("5")));
        const QByteArray versions = runLine("versions %1 --json", {guid}).out;
        for (int trial = 1; trial <= 5; ++trial) {
            QProcess replacing;
            runner.start(replacing, withDatabase(commandLine("replace %1 despues.bin --no-miniature", {guid})));
            ASSERT_TRUE(replacing.waitForStarted());
            // The replace commits a little before half its time; reading the new text takes the rest.
            QThread::msleep(trial <= 3 ? replaceMs * (5 + 10 * trial) / 100 : killTimes.bounded(replaceMs * 2 / 5 + 1));
            replacing.kill();
            replacing.waitForFinished();
            EXPECT_EQ(replacing.exitStatus(), QProcess::CrashExit) << "killed before it ended, trial " << trial;
        }
        if (url.startsWith(QLatin1String("sqlite:"))) {
            EXPECT_EQ(sqlValue(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        }
        EXPECT_EQ(runLine("versions %1 --json", {guid}).out, versions);
        ASSERT_TRUE(ended(runLine("get %1 -o vuelta.bin", {guid}), 0));
        EXPECT_TRUE(readFile(dir.filePath(QStringLiteral("vuelta.bin"))) == before) << "the content is version 5's";
    }
}

// A database another process holds past the wait is refused as busy, with the advice to try again.
TEST_F(CliConcurrencyTest, DatabaseHeldPastTheWaitIsReportedBusy) {
    const auto holder = Connection::open(database());
    holder->Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    writeFile(QStringLiteral("a.txt"), "a");
    const CliResult refused = runLine("store a.txt --name Esperado");
    EXPECT_TRUE(ended(refused, 3, QStringLiteral("ocupada por otro proceso (SQLITE_BUSY)")) &&
                refused.err.contains(QStringLiteral("vuelva a intentarlo")))
        << refused;
    holder->Execute(QStringLiteral("ROLLBACK"));
    EXPECT_TRUE(listedNames().isEmpty());
}

// Processes that store the same new contents at once with --dedup store each once, on either
// engine: each decides the content's holder inside the transaction that stores or links it.
TEST_F(CliConcurrencyTest, DedupStoresEachContentOnceWhenProcessesStoreItAtOnce) {
    constexpr int Workers = 4;
    constexpr int Files = 5;
    for (int file = 0; file < Files; ++file)
        writeFile(QStringLiteral("f%1.bin").arg(file), noise(LargeSize / 32 + file));
    for (const QString& url : engines()) {
        useDatabase(url);
        std::vector<QStringList> failures(Workers);
        std::vector<std::thread> threads;
        for (int worker = 0; worker < Workers; ++worker) {
            threads.emplace_back([&, worker] {
                for (int file = 0; file < Files; ++file) {
                    const CliResult stored =
                        run(commandLine("store f%1.bin --name f%1 --dedup --parent-type Cliente --parent %2",
                                        {QString::number(file), key(char('P' + worker))}));
                    if (stored.status != 0) failures[worker] << QString::number(stored.status) + u' ' + stored.err;
                }
            });
        }
        for (std::thread& thread : threads) thread.join();
        for (const QStringList& failed : failures) EXPECT_TRUE(failed.isEmpty()) << failed.join(u'\n').toStdString();
        const CliResult duplicates = runLine("duplicates --json");
        EXPECT_TRUE(duplicates.status == 0 && QJsonDocument::fromJson(duplicates.out).array().isEmpty())
            << url.toStdString() << '\n'
            << duplicates;
        EXPECT_EQ(listedNames().size(), Files) << url.toStdString();
    }
}

}  // namespace
