#pragma once

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>
#include <ostream>
#include <utility>

namespace dorvanel::test {

// What one run of the dorvanel program gave.
struct CliResult {
    int status = -1;  // -1 when it did not end by itself
    QByteArray out;
    QString err;

    QStringList outLines() const { return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QString lastLine() const { return outLines().value(outLines().size() - 1); }
};

std::ostream& operator<<(std::ostream& os, const CliResult& result);

// Whether the run ended with the status and said the text on standard output or error; the run is
// shown when not.
::testing::AssertionResult ended(const CliResult& result, int status, const QString& text = {});

// The words of a command line whose arguments hold no spaces.
QStringList words(const QString& line);

// Bytes that do not compress, the same for the same size (a multiple of 4).
QByteArray noise(qint64 size);

// The seed of a test's random choices: DORVANEL_TEST_SEED when set, so that a failing run can be
// repeated, else a new one. Either way it is printed and kept in the test's report.
quint32 announcedSeed();

// A document's or parent's key: 32 times the character given.
QString key(char filler);

// The text with each {X}, X a capital letter, made key(X) and each %1, %2... the value given in
// that place.
QString filled(QString text, const QStringList& values = {});

// The words of a command line, each filled: the line is split first, so that a value may hold
// spaces.
QStringList commandLine(const char* line, const QStringList& values = {});

// Runs the program (the DORVANEL_CLI the test is built with) as a user runs it, with a home
// of its own: HOME, the XDG folders and the working folder are the folder given, DORVANEL_DB
// is unset, and the locale is C (LC_ALL=C.UTF-8), so that it speaks Spanish.
class CliRunner {
public:
    explicit CliRunner(QString home) : home_(std::move(home)) {}

    // Starts the program without waiting for it; the variables named are left out.
    void start(QProcess& process, const QStringList& arguments, const QStringList& unsetVariables = {}) const;
    // Runs the program and waits for it to end, up to a minute.
    CliResult run(const QStringList& arguments, const QStringList& unsetVariables = {}) const;
    // The same with a terminal for its output, through script(1): what it draws only on a
    // terminal shows in out, with standard error.
    CliResult runOnTerminal(const QStringList& arguments) const;

    // How the program draws, as environment variables.
    QList<std::pair<QString, QString>> platform{{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}};
    // Runs in the program's process before it starts: limits of the system's that it runs under.
    std::function<void()> inChild;

private:
    void prepare(QProcess& process, const QStringList& unsetVariables) const;

    QString home_;
};

// The program run in a temporary home folder, on a SQLite database there that init made.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // Storing a picture leaves its miniature beside the library.
    void TearDown() override;

    // The test's database: the SQLite file SetUp made, unless useDatabase named another.
    QString database() const { return database_; }
    // The databases a test of what differs by engine runs on: the SQLite file, and the
    // PostgreSQL server that DORVANEL_TEST_PG_URL names, emptied, when one is named.
    QStringList engines() const;
    // What follows runs on url, which init prepares.
    void useDatabase(const QString& url);
    QStringList withDatabase(const QStringList& arguments) const;
    // The program on the test's database, drawing on the runner's platform unless that is among
    // the variables left out.
    CliResult run(const QStringList& arguments, const QStringList& unsetVariables = {}) const;
    CliResult runLine(const char* line, const QStringList& values = {}) const { return run(commandLine(line, values)); }

    // Writes the file in the test's folder, making the folders its name leads through.
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    static QByteArray readFile(const QString& path);
    // Runs store with the command line given after it and gives the key it printed last.
    QString store(const char* line, const QStringList& values = {}) const;
    // The names list --json gives, sorted, so that a document listed twice shows twice.
    QStringList listedNames(const char* options = "", const QStringList& values = {}) const;
    // The first field of the first row a statement gives, run with plain SQL on the test's
    // database; null when it gives none.
    QVariant sqlValue(const QString& statement, const QVariantList& values = {}) const;

    QTemporaryDir dir;
    CliRunner runner{dir.path()};

private:
    QString database_ = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("cli.sqlite"));
};

}  // namespace dorvanel::test
