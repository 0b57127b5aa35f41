#pragma once

#include "platform/Connection.h"
#include "platform/Error.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <memory>

namespace dorvanel::test {

// The largest document the tests move: 200 MiB. Under the sanitizers it is 20 MiB, which runs
// the same chunked paths in a tenth of the time.
#ifdef DORVANEL_SANITIZED_BUILD
constexpr qint64 LargestDocument = 20 * 1024 * 1024;
#else
constexpr qint64 LargestDocument = 200 * 1024 * 1024;
#endif

// A fresh database with the component's schema for every test, on the engine the run names:
// DORVANEL_TEST_ENGINE=sqlite (a file in a temporary folder, the default) or postgresql (the
// server at DORVANEL_TEST_PG_URL, its public schema rebuilt). When that server is not set or
// cannot be reached the test is skipped, or fails if DORVANEL_TEST_REQUIRE_POSTGRESQL is set
// (to anything but 0): scripts/test sets it, so that a run without PostgreSQL cannot pass.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    bool onPostgreSql() const { return connection->engine() == Connection::Engine::PostgreSql; }
    // Whether SetUp made the database: a fixture that builds on it goes on only then, as a run
    // that requires PostgreSQL fails rather than skips without it.
    bool databaseReady() const { return connection && !IsSkipped() && !HasFatalFailure(); }
    QString folder() const { return dir_.path(); }
    // The test database's URL, for a second connection to it.
    QString url() const { return url_; }
    // Writes bytes to a file in the test's temporary folder and returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    qint32 rowCount(const QString& sql);
    // Every column of the Docs row with that Sys_GUID.
    std::shared_ptr<Recordset> docRow(const QString& guid);

    std::shared_ptr<Connection> connection;

private:
    void openPostgreSql();

    QTemporaryDir dir_;
    QString url_;
};

// A 32-character key: the text padded with "0".
QString Key(const QString& text);

// The Error that action raises; number 0 when it raises none.
template <typename Action>
Error raisedBy(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error;
    }
    return Error(0, QString());
}

// The file's bytes; none when it cannot be read.
QByteArray contentOf(const QString& path);

}  // namespace dorvanel::test
