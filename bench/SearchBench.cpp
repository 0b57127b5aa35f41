// Finding documents by words among 100,000: FindDocumentsByWords on SQLite, and on the
// PostgreSQL server at DORVANEL_BENCH_PG_URL when it is set. Each query asks for one whole
// word and the start of another, as a user types them, and for the 50 best matches. Then the
// same once one document in ten has the text of its content indexed (400 words, some 3 KB).
//
// Prints the median and the 99th percentile of each engine's queries; when
// DORVANEL_BENCH_SUMMARY names a file, appends their summary rows to it for bench/run.

#include "BenchSupport.h"
#include "ServerTransfers.h"
#include "platform/Connection.h"
#include "repository/DocumentText.h"
#include "repository/FindDocumentsByWords.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace dorvanel;
using namespace dorvanel::bench;

namespace {

constexpr int Documents = 100000;
constexpr int RowsPerInsert = 100;
constexpr int Queries = 400;
constexpr int Best = 50;
constexpr double TargetMilliseconds = 20;
constexpr int DocumentsPerText = 10;
constexpr int WordsPerText = 400;

// About 8,000 words of two or three syllables, some with an accent.
QStringList vocabulary() {
    const QStringList syllables{"ca", "mi", "on", "ta", "re", "lo", "pe", "su", "bra", "tor",
                                "ni", "da", "gu", "fe", "sa", "ro", "le", "vi", "que", "po"};
    QStringList words;
    for (const QString& first : syllables)
        for (const QString& second : syllables) {
            words << first + second;
            for (const QString& third : syllables) words << first + second + third;
        }
    for (qsizetype i = 0; i < words.size(); i += 7) words[i].replace(QLatin1Char('a'), QStringLiteral("á"));
    return words;
}

// Some words are much more frequent than others, as in real texts.
class WordSource {
public:
    explicit WordSource(quint32 seed = 20261206) : words_(vocabulary()), random_(seed) {}

    const QString& word() {
        const double draw = random_.generateDouble();
        return words_[qsizetype(draw * draw * double(words_.size()))];
    }
    QString words(int count) {
        QStringList chosen;
        for (int i = 0; i < count; ++i) chosen << word();
        return chosen.join(QLatin1Char(' '));
    }

private:
    QStringList words_;
    QRandomGenerator random_;
};

void insertDocuments(Connection& connection) {
    WordSource source;
    const QString row = QStringLiteral("(?, ?, ?, ?, 'pdf', 0)");
    const QString sql =
        QStringLiteral("INSERT INTO Docs (Sys_GUID, Name, Description, Works, TypeData, storeout) VALUES ") +
        QStringList(RowsPerInsert, row).join(QStringLiteral(", "));
    Connection::Transaction transaction(connection);
    for (int first = 0; first < Documents; first += RowsPerInsert) {
        QVariantList values;
        for (int n = first; n < first + RowsPerInsert; ++n)
            values << QString::fromLatin1(DocumentKey(n)) << source.words(3) << source.words(8) << source.words(2);
        connection.Execute(sql, values);
    }
    transaction.commit();
}

void addTexts(Connection& connection) {
    WordSource source(7);
    Connection::Transaction transaction(connection);
    for (int n = 0; n < Documents; n += DocumentsPerText)
        storeDocumentText(connection, QString::fromLatin1(DocumentKey(n)), source.words(WordsPerText));
    transaction.commit();
}

QStringList queries() {
    WordSource source;
    QStringList texts;
    for (int i = 0; i < Queries; ++i) texts << source.word() + QLatin1Char(' ') + source.word().left(4);
    return texts;
}

struct Timing {
    double median;
    double p99;
    double found;  // documents a query gave, on average
};

Timing timeQueries(Connection& connection) {
    const QStringList texts = queries();
    for (const QString& text : texts.mid(0, 20)) findDocumentsByWords(connection, WordQuery{text, {}, {}, Best});
    std::vector<double> milliseconds;
    qint64 found = 0;
    for (const QString& text : texts) {
        const auto start = std::chrono::steady_clock::now();
        found += findDocumentsByWords(connection, WordQuery{text, {}, {}, Best}).size();
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    return {milliseconds[milliseconds.size() / 2], milliseconds[milliseconds.size() * 99 / 100],
            double(found) / double(texts.size())};
}

void report(const QByteArray& name, const Timing& timing, bool targeted) {
    std::printf("%s median=%.2fms p99=%.2fms found=%.1f\n", name.constData(), timing.median, timing.p99, timing.found);
    const QByteArray summary = qgetenv("DORVANEL_BENCH_SUMMARY");
    if (summary.isEmpty()) return;
    char ours[96];
    std::snprintf(ours, sizeof ours, "median %.2f ms, p99 %.2f ms", timing.median, timing.p99);
    std::ofstream out(summary.constData(), std::ios::app);
    out << name.constData() << '\t' << ours << "\t-\t-\t" << (targeted ? "p99 < 20 ms" : "reported") << '\t'
        << (!targeted                         ? "-"
            : timing.p99 < TargetMilliseconds ? "met"
                                              : "MISSED")
        << "\t-\t-\n";
}

void measure(const QByteArray& engine, const std::shared_ptr<Connection>& connection, bool targeted) {
    insertDocuments(*connection);
    report("search_100000_" + engine, timeQueries(*connection), targeted);
    addTexts(*connection);
    report("search_100000_content_" + engine, timeQueries(*connection), targeted);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    SilenceStatementLog();
    ScratchFolder folder;
    measure("sqlite", Connection::open(QStringLiteral("sqlite:") + folder.newDatabase()), true);
    if (!qEnvironmentVariableIsEmpty("DORVANEL_BENCH_PG_URL")) {
        RawServer().reset();
        measure("postgresql", Connection::open(ServerUrl()), false);
    }
    return 0;
}
