#include "support/TestDatabase.h"

#include "host/Schema.h"
#include "platform/Error.h"
#include "platform/Recordset.h"

#include <QFile>
#include <QUrl>
#include <string>

namespace dorvanel::test {

QString Key(const QString& text) { return text.leftJustified(32, QLatin1Char('0'), true); }

namespace {

bool postgreSqlRequired() {
    const QByteArray value = qgetenv("DORVANEL_TEST_REQUIRE_POSTGRESQL");
    return !value.isEmpty() && value != "0";
}

// Without a server the PostgreSQL tests skip, which suits a developer running them by hand.
// A run that requires them fails instead: CTest counts a binary whose tests all skipped as
// passed, so a missing server would otherwise go unnoticed.
void withoutServer(const std::string& why) {
    if (postgreSqlRequired()) FAIL() << why << " (DORVANEL_TEST_REQUIRE_POSTGRESQL is set: this run needs PostgreSQL)";
    GTEST_SKIP() << why;
}

}  // namespace

void DatabaseTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    if (qEnvironmentVariable("DORVANEL_TEST_ENGINE") == QLatin1String("postgresql")) {
        openPostgreSql();
        if (HasFatalFailure() || IsSkipped()) return;
    } else {
        url_ = QStringLiteral("sqlite:") + dir_.filePath(QStringLiteral("test.sqlite"));
        connection = Connection::open(url_);
    }
    createSchema(*connection);
}

void DatabaseTest::openPostgreSql() {
    url_ = qEnvironmentVariable("DORVANEL_TEST_PG_URL");
    if (url_.isEmpty()) {
        withoutServer("DORVANEL_TEST_PG_URL is not set");
        return;
    }
    try {
        connection = Connection::open(url_);
    } catch (const Error& error) {
        const QString shown = QUrl(url_).toDisplayString(QUrl::RemovePassword);
        withoutServer("cannot open the PostgreSQL database at " + shown.toStdString() + ": " + error.what());
        return;
    }
    connection->Execute(QStringLiteral("SET client_min_messages = warning"));
    connection->Execute(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE"));
    connection->Execute(QStringLiteral("CREATE SCHEMA public"));
}

void DatabaseTest::TearDown() { connection.reset(); }

QString DatabaseTest::writeFile(const QString& name, const QByteArray& bytes) const {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::shared_ptr<Recordset> DatabaseTest::docRow(const QString& guid) {
    return connection->Execute(QStringLiteral("SELECT * FROM Docs WHERE Sys_GUID = ?"), {guid});
}

qint32 DatabaseTest::rowCount(const QString& sql) {
    Recordset rows;
    rows.Open(sql, connection, Recordset::adOpenStatic);
    return rows.RecordCount();
}

}  // namespace dorvanel::test
