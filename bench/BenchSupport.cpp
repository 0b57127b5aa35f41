#include "BenchSupport.h"

#include "component/Manager.h"
#include "host/Schema.h"
#include "platform/Connection.h"

#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <atomic>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace dorvanel::bench {

namespace {

// The busy timeout the component's connection sets.
constexpr int BusyTimeoutMs = 10000;

QByteArray keyOf(char prefix, qint64 number) { return prefix + QByteArray::number(number, 16).rightJustified(31, '0'); }

}  // namespace

void Require(bool condition, const char* message) {
    if (!condition) throw std::runtime_error(message);
}

void SilenceStatementLog() {
    // QT_LOGGING_RULES still wins, so the log's cost can be measured on purpose.
    QLoggingCategory::setFilterRules(QStringLiteral("dorvanel.sql.debug=false"));
}

ScratchFolder::ScratchFolder() { Require(dir_.isValid(), "cannot create a temporary folder"); }

QString ScratchFolder::path(const QString& name) const { return dir_.filePath(name); }

QString ScratchFolder::newDatabase() {
    const QString database = path(QStringLiteral("db-%1.sqlite").arg(++databases_));
    CreateDatabase(database);
    return database;
}

void WriteRandomFile(const QString& path, qint64 bytes) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot create a data file");
    std::vector<quint32> chunk(ChunkBytes / sizeof(quint32));
    for (qint64 left = bytes; left > 0; left -= ChunkBytes) {
        const qint64 size = std::min(left, ChunkBytes);
        QRandomGenerator::global()->fillRange(chunk.data(), qsizetype((size + 3) / 4));
        Require(file.write(reinterpret_cast<const char*>(chunk.data()), size) == size, "cannot write a data file");
    }
}

void CreateDatabase(const QString& path) {
    const auto connection = Connection::open(QStringLiteral("sqlite:") + path);
    createSchema(*connection);
}

void RemoveDatabase(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(path + QLatin1String(suffix));
}

QByteArray DocumentKey(qint64 number) { return keyOf('D', number); }

QByteArray ParentKey(qint64 number) { return keyOf('P', number); }

QByteArray NextDocumentKey() {
    static std::atomic<qint64> given{0};
    return keyOf('R', ++given);
}

ComponentSession::ComponentSession(const QString& databasePath)
    : ComponentSession(Connection::open(QStringLiteral("sqlite:") + databasePath)) {}

ComponentSession::ComponentSession(std::shared_ptr<Connection> connection) : manager_(Manager::create()) {
    manager_->SetADOCnn(std::move(connection));
}

ComponentSession::~ComponentSession() { manager_->SetADOCnn(nullptr); }

std::shared_ptr<Connection> ComponentSession::connection() const { return manager_->ADOCnn(); }

RawDatabase::RawDatabase(const QString& path) {
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        const std::string message = std::string("cannot open ") + sqlite3_errstr(opened);
        sqlite3_close(db_);
        throw std::runtime_error(message);
    }
    sqlite3_busy_timeout(db_, BusyTimeoutMs);
    execute("PRAGMA journal_mode=WAL");
    execute("PRAGMA synchronous=NORMAL");
}

RawDatabase::~RawDatabase() { sqlite3_close(db_); }

void RawDatabase::execute(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
}

void RawDatabase::fail(const char* what) const {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db_));
}

RawStatement::RawStatement(const RawDatabase& database, const QByteArray& sql) : database_(database) {
    if (sqlite3_prepare_v2(database.handle(), sql.constData(), int(sql.size()), &statement_, nullptr) != SQLITE_OK)
        database.fail(sql.constData());
}

RawStatement::~RawStatement() { sqlite3_finalize(statement_); }

void RawStatement::bindText(int parameter, const QByteArray& text) {
    if (sqlite3_bind_text(statement_, parameter, text.constData(), int(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        database_.fail("bind text");
}

void RawStatement::bindInt64(int parameter, qint64 value) {
    if (sqlite3_bind_int64(statement_, parameter, value) != SQLITE_OK) database_.fail("bind integer");
}

void RawStatement::bindBlob(int parameter, const char* bytes, qint64 size) {
    if (sqlite3_bind_blob64(statement_, parameter, bytes, sqlite3_uint64(size), SQLITE_STATIC) != SQLITE_OK)
        database_.fail("bind blob");
}

bool RawStatement::step() {
    const int stepped = sqlite3_step(statement_);
    if (stepped != SQLITE_ROW && stepped != SQLITE_DONE) database_.fail("step");
    return stepped == SQLITE_ROW;
}

void RawStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

RawFile::RawFile(const QString& path, const char* mode) : file_(std::fopen(QFile::encodeName(path).constData(), mode)) {
    Require(file_ != nullptr, "cannot open a file");
}

RawFile::~RawFile() { std::fclose(file_); }

std::size_t RawFile::read(char* buffer, std::size_t bytes) {
    const std::size_t got = std::fread(buffer, 1, bytes, file_);
    Require(got == bytes || !std::ferror(file_), "cannot read a file");
    return got;
}

void RawFile::write(const char* buffer, std::size_t bytes) {
    Require(std::fwrite(buffer, 1, bytes, file_) == bytes, "cannot write a file");
}

qint64 RawFile::size() const {
    struct stat status {};
    Require(fstat(fileno(file_), &status) == 0, "cannot find a file's size");
    return status.st_size;
}

}  // namespace dorvanel::bench
