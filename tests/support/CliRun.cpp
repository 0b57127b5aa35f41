#include "support/CliRun.h"

#include <QProcessEnvironment>

namespace dorvanel::test {

std::ostream& operator<<(std::ostream& os, const CliResult& result) {
    return os << "status " << result.status << "\nstdout: " << result.out.toStdString()
              << "\nstderr: " << result.err.toStdString();
}

QStringList words(const QString& line) { return line.split(u' ', Qt::SkipEmptyParts); }

void CliRunner::start(QProcess& process, const QStringList& arguments, const QStringList& unsetVariables) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DORVANEL_DB"));
    for (const auto& [variable, value] : platform) environment.insert(variable, value);
    for (const char* variable : {"HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        environment.insert(QLatin1String(variable), home_);
    for (const QString& variable : unsetVariables) environment.remove(variable);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(home_);
    process.start(QStringLiteral(DORVANEL_CLI), arguments);
    process.closeWriteChannel();
}

CliResult CliRunner::run(const QStringList& arguments, const QStringList& unsetVariables) const {
    QProcess process;
    start(process, arguments, unsetVariables);
    return finish(process);
}

CliResult CliRunner::finish(QProcess& process) {
    if (!process.waitForFinished(60000)) return CliResult{};
    return CliResult{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                     process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace dorvanel::test
