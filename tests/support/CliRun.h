#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
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

// The words of a command line whose arguments hold no spaces.
QStringList words(const QString& line);

// Runs the program (the DORVANEL_CLI the test is built with) as a user runs it, with a home
// of its own: HOME, the XDG folders and the working folder are the folder given, and
// DORVANEL_DB is unset.
class CliRunner {
public:
    explicit CliRunner(QString home) : home_(std::move(home)) {}

    // Starts the program without waiting for it; the variables named are left out.
    void start(QProcess& process, const QStringList& arguments, const QStringList& unsetVariables = {}) const;
    CliResult run(const QStringList& arguments, const QStringList& unsetVariables = {}) const;
    // Waits for a started program to end, up to a minute.
    static CliResult finish(QProcess& process);

    // How the program draws, as environment variables.
    QList<std::pair<QString, QString>> platform{{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}};

private:
    QString home_;
};

}  // namespace dorvanel::test
