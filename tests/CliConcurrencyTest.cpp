// The dorvanel command run by several processes at once on one SQLite file, and killed halfway.

#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
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

QString key(char filler) { return QString(32, QLatin1Char(filler)); }

class CliConcurrencyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(run({QStringLiteral("init")}).status, 0);
    }

    QString database() const { return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("cli.sqlite")); }
    QStringList withDatabase(const QStringList& arguments) const {
        return QStringList{QStringLiteral("--db"), database()} + arguments;
    }
    CliResult run(const QStringList& arguments) const { return runner.run(withDatabase(arguments)); }

    QString writeFile(const QString& name, qint64 size) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray chunk(1024 * 1024, Qt::Uninitialized);
        QRandomGenerator generator{quint32(size)};
        for (qint64 written = 0; written < size; written += chunk.size()) {
            chunk.resize(int(qMin<qint64>(chunk.size(), size - written)));
            generator.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
            file.write(chunk);
        }
        return file.fileName();
    }

    static QByteArray contentOf(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QString store(const QString& file, const QString& name) const {
        const CliResult stored = run({QStringLiteral("store"), file, QStringLiteral("--name"), name});
        EXPECT_EQ(stored.status, 0) << stored;
        return stored.lastLine();
    }

    QTemporaryDir dir;
    CliRunner runner{dir.path()};
};

// Each process fetches on its own; none may find its work removed by another. A small document
// keeps the processes in step, where they used to meet.
TEST_F(CliConcurrencyTest, GetsOfOneDocumentAtOnceAllSucceed) {
    const QString source = writeFile(QStringLiteral("datos.bin"), 200 * 1024);
    const QString guid = store(source, QStringLiteral("Datos"));
    const QByteArray expected = contentOf(source);
    for (int round = 0; round < 10; ++round) {
        QProcess processes[4];
        for (int i = 0; i < 4; ++i) {
            const QStringList target{QStringLiteral("-o"), dir.filePath(QStringLiteral("copia%1.bin").arg(i))};
            runner.start(processes[i],
                         withDatabase(QStringList{QStringLiteral("get"), guid} + (i < 2 ? target : QStringList())));
        }
        for (int i = 0; i < 4; ++i) {
            const CliResult got = CliRunner::finish(processes[i]);
            ASSERT_EQ(got.status, 0) << "round " << round << ", process " << i << '\n' << got;
            const QByteArray copy = i < 2 ? contentOf(dir.filePath(QStringLiteral("copia%1.bin").arg(i))) : got.out;
            EXPECT_TRUE(copy == expected) << "round " << round << ", process " << i;
        }
    }
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("Dorvanel/work"))).isEmpty()) << "no work file is left";
}

// A store killed at any point leaves either no row or a whole one, and a sound database.
TEST_F(CliConcurrencyTest, StoreKilledAtRandomPointsLeavesNoPartialDocument) {
    const QString source = writeFile(QStringLiteral("grande.bin"), LargeSize);
    QElapsedTimer whole;
    whole.start();
    store(source, QStringLiteral("Completo"));
    const int storeMs = int(whole.elapsed());
    for (int trial = 0; trial < 5; ++trial) {
        QProcess storing;
        runner.start(storing, withDatabase({QStringLiteral("store"), source, QStringLiteral("--name"),
                                            QStringLiteral("Matado%1").arg(trial)}));
        ASSERT_TRUE(storing.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(storeMs + 1));
        storing.kill();
        storing.waitForFinished();
    }
    const auto connection = Connection::Open(database());
    EXPECT_EQ(connection->Execute(QStringLiteral("PRAGMA integrity_check"))->Fields(0).toString(),
              QStringLiteral("ok"));
    const auto rows = connection->Execute(QStringLiteral("SELECT Name, length(Data) FROM Docs"));
    for (; !rows->Eof(); rows->MoveNext())
        EXPECT_EQ(rows->Fields(1).toLongLong(), LargeSize) << rows->Fields(0).toString().toStdString();
    store(source, QStringLiteral("Siguiente"));
}

// What one process did: the documents it stored and removed, and the runs that failed.
struct WorkerLog {
    QSet<QString> stored;
    QSet<QString> removed;
    QStringList failures;
};

// Stores, links, lists and removes, a few dozen runs in all.
void work(const CliRunner& runner, const QStringList& db, const QString& folder, int worker, WorkerLog& log) {
    const auto runLogged = [&](const QStringList& arguments) {
        const CliResult result = runner.run(db + arguments);
        if (result.status != 0)
            log.failures << arguments.join(u' ') + QStringLiteral(": ") + QString::number(result.status) + u' ' +
                                result.err;
        return result;
    };
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("w%1-%2").arg(worker).arg(i);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".txt");
        QFile content(file);
        if (!content.open(QIODevice::WriteOnly) || content.write(name.toUtf8()) != name.size()) return;
        content.close();
        const CliResult stored = runLogged({QStringLiteral("store"), file, QStringLiteral("--name"), name,
                                            QStringLiteral("--parent"), key(char('P' + worker)),
                                            QStringLiteral("--parent-type"), QStringLiteral("Cliente")});
        if (stored.status != 0) continue;
        log.stored << name;
        runLogged({QStringLiteral("link"), key('S'), stored.lastLine(), QStringLiteral("--parent-type"),
                   QStringLiteral("Cliente")});
        runLogged(words(QStringLiteral("list --json --parents ") + key('S')));
        if (i % 3 == 2 && runLogged({QStringLiteral("rm"), stored.lastLine()}).status == 0) log.removed << name;
    }
}

TEST_F(CliConcurrencyTest, ProcessesSharingOneDatabaseLoseNothingAndAreNeverRefusedAsBusy) {
    constexpr int Workers = 4;
    std::vector<WorkerLog> logs(Workers);
    std::vector<std::thread> threads;
    const QStringList db{QStringLiteral("--db"), database()};
    for (int worker = 0; worker < Workers; ++worker)
        threads.emplace_back(work, std::cref(runner), db, dir.path(), worker, std::ref(logs[worker]));
    for (std::thread& thread : threads) thread.join();

    QSet<QString> expected;
    for (const WorkerLog& log : logs) {
        EXPECT_TRUE(log.failures.isEmpty()) << log.failures.join(u'\n').toStdString();
        expected += log.stored - log.removed;
    }
    const CliResult listed = run(words(QStringLiteral("list --json")));
    QSet<QString> names;
    for (const QJsonValue& row : QJsonDocument::fromJson(listed.out).array())
        names << row[QStringLiteral("name")].toString();
    EXPECT_EQ(names, expected);
    EXPECT_EQ(expected.size(), Workers * 8) << "each worker keeps 8 of its 12";
}

}  // namespace
