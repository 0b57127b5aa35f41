#include "support/TestDatabase.h"

#include "host/Schema.h"

#include <QFile>

namespace dorvanel::test {

void DatabaseTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    if (qEnvironmentVariable("DORVANEL_TEST_ENGINE") == QLatin1String("postgresql")) {
        url_ = qEnvironmentVariable("DORVANEL_TEST_PG_URL");
        if (url_.isEmpty()) GTEST_SKIP() << "DORVANEL_TEST_PG_URL is not set";
        connection = Connection::Open(url_);
        connection->Execute(QStringLiteral("SET client_min_messages = warning"));
        connection->Execute(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE"));
        connection->Execute(QStringLiteral("CREATE SCHEMA public"));
    } else {
        url_ = QStringLiteral("sqlite:") + dir_.filePath(QStringLiteral("test.sqlite"));
        connection = Connection::Open(url_);
    }
    CreateSchema(*connection);
}

void DatabaseTest::TearDown() { connection.reset(); }

QString DatabaseTest::writeFile(const QString& name, const QByteArray& bytes) const {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

}  // namespace dorvanel::test
