#include "support/CliRun.h"

#include "platform/ComponentFile.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <iostream>

namespace dorvanel::test {

std::ostream& operator<<(std::ostream& os, const CliResult& result) {
    return os << "status " << result.status << "\nstdout: " << result.out.toStdString()
              << "\nstderr: " << result.err.toStdString();
}

::testing::AssertionResult ended(const CliResult& result, int status, const QString& text) {
    if (result.status == status && (QString::fromUtf8(result.out).contains(text) || result.err.contains(text)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << result;
}

QStringList words(const QString& line) { return line.split(u' ', Qt::SkipEmptyParts); }

QByteArray noise(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator{quint32(size)}.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}

quint32 announcedSeed() {
    bool given = false;
    const quint32 seed = qEnvironmentVariable("DORVANEL_TEST_SEED").toUInt(&given);
    const quint32 used = given ? seed : QRandomGenerator::system()->generate();
    std::cout << "DORVANEL_TEST_SEED=" << used << std::endl;
    ::testing::Test::RecordProperty("DORVANEL_TEST_SEED", std::to_string(used));
    return used;
}

QString key(char filler) { return QString(32, QLatin1Char(filler)); }

QString filled(QString text, const QStringList& values) {
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        text.replace(QStringLiteral("{%1}").arg(QLatin1Char(letter)), key(letter));
    // From the last, so that %1 does not take the start of %12.
    for (qsizetype place = values.size(); place > 0; --place)
        text.replace(u'%' + QString::number(place), values[place - 1]);
    return text;
}

QStringList commandLine(const char* line, const QStringList& values) {
    QStringList filledWords;
    for (const QString& word : words(QString::fromUtf8(line))) filledWords << filled(word, values);
    return filledWords;
}

void CliRunner::prepare(QProcess& process, const QStringList& unsetVariables) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DORVANEL_DB"));
    // The program speaks the user's language: the tests read its Spanish, whatever the machine's.
    environment.remove(QStringLiteral("LANGUAGE"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const auto& [variable, value] : platform) environment.insert(variable, value);
    for (const char* variable : {"HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        environment.insert(QLatin1String(variable), home_);
    for (const QString& variable : unsetVariables) environment.remove(variable);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(home_);
    if (inChild) process.setChildProcessModifier(inChild);
}

void CliRunner::start(QProcess& process, const QStringList& arguments, const QStringList& unsetVariables) const {
    prepare(process, unsetVariables);
    process.start(QStringLiteral(DORVANEL_CLI), arguments);
    process.closeWriteChannel();
}

CliResult CliRunner::runOnTerminal(const QStringList& arguments) const {
    const auto quoted = [](QString word) { return u'\'' + word.replace(u'\'', QStringLiteral("'\\''")) + u'\''; };
    QStringList command{quoted(QStringLiteral(DORVANEL_CLI))};
    for (const QString& argument : arguments) command << quoted(argument);
    QProcess process;
    prepare(process, {});
    process.start(QStringLiteral("script"), {QStringLiteral("-qec"), command.join(u' '), QStringLiteral("/dev/null")});
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) return CliResult{};
    return CliResult{process.exitCode(), process.readAllStandardOutput(), QString()};
}

CliResult CliRunner::run(const QStringList& arguments, const QStringList& unsetVariables) const {
    QProcess process;
    start(process, arguments, unsetVariables);
    if (!process.waitForFinished(60000)) return CliResult{};
    return CliResult{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                     process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

void CliFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    const CliResult init = runLine("init");
    ASSERT_EQ(init.status, 0) << init;
}

void CliFixture::TearDown() { QFile::remove(ComponentFile::tempFolder() + QStringLiteral("/Temp.bmp")); }

QStringList CliFixture::engines() const {
    QStringList urls{QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("cli.sqlite"))};
    if (const QString server = qEnvironmentVariable("DORVANEL_TEST_PG_URL"); !server.isEmpty()) {
        const auto connection = Connection::open(server);
        for (const char* statement :
             {"SET client_min_messages = warning", "DROP SCHEMA IF EXISTS public CASCADE", "CREATE SCHEMA public"})
            connection->Execute(QLatin1String(statement));
        urls << server;
    }
    return urls;
}

void CliFixture::useDatabase(const QString& url) {
    database_ = url;
    const CliResult init = runLine("init");
    ASSERT_EQ(init.status, 0) << init;
}

QStringList CliFixture::withDatabase(const QStringList& arguments) const {
    return QStringList{QStringLiteral("--db"), database()} + arguments;
}

CliResult CliFixture::run(const QStringList& arguments, const QStringList& unsetVariables) const {
    return runner.run(withDatabase(arguments), unsetVariables);
}

QString CliFixture::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(QFileInfo(file).dir().mkpath(QStringLiteral(".")) && file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(bytes), bytes.size());
    return file.fileName();
}

QByteArray CliFixture::readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString CliFixture::store(const char* line, const QStringList& values) const {
    const CliResult stored = run(QStringList{QStringLiteral("store")} + commandLine(line, values));
    EXPECT_EQ(stored.status, 0) << stored;
    return stored.lastLine();
}

QStringList CliFixture::listedNames(const char* options, const QStringList& values) const {
    const CliResult listed =
        run(QStringList{QStringLiteral("list"), QStringLiteral("--json")} + commandLine(options, values));
    EXPECT_EQ(listed.status, 0) << listed;
    QStringList names;
    for (const QJsonValue& row : QJsonDocument::fromJson(listed.out).array())
        names << row[QStringLiteral("name")].toString();
    names.sort();
    return names;
}

QVariant CliFixture::sqlValue(const QString& statement, const QVariantList& values) const {
    const auto rows = Connection::open(database())->Execute(statement, values);
    return rows && !rows->Eof() ? rows->value(0) : QVariant();
}

}  // namespace dorvanel::test
