#pragma once

// Set-up shared by every benchmark: scratch folders, random files, databases with the
// component's schema, the component as a host sets it up, and a plain sqlite3 connection
// configured like the component's own.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace dorvanel {
class Connection;
class Manager;
}  // namespace dorvanel

namespace dorvanel::bench {

constexpr qint64 Kibibyte = 1024;
constexpr qint64 Mebibyte = 1024 * Kibibyte;
// Every piecewise file or BLOB transfer moves this much at a time.
constexpr qint64 ChunkBytes = Mebibyte;

// Raises std::runtime_error with the message when the condition does not hold.
void Require(bool condition, const char* message);

// Statement logging is on by default; left on, the benchmarks would partly time the console.
void SilenceStatementLog();

// A temporary folder, removed with its contents when this ends.
class ScratchFolder {
public:
    ScratchFolder();
    QString path(const QString& name) const;
    // A new database file with the component's schema.
    QString newDatabase();

private:
    QTemporaryDir dir_;
    int databases_ = 0;
};

// Writes a file of random bytes a chunk at a time, so that making it takes little memory.
void WriteRandomFile(const QString& path, qint64 bytes);

void CreateDatabase(const QString& path);
// Deletes a database file together with its WAL and shared-memory files.
void RemoveDatabase(const QString& path);

// 32-character keys for the Sys_GUID, FK_Doc and FK_Parent columns.
QByteArray DocumentKey(qint64 number);
QByteArray ParentKey(qint64 number);
// A document key not given out before in this process.
QByteArray NextDocumentKey();

// A Manager working on its own connection, as a host sets it up: to a SQLite file, or any
// connection given.
class ComponentSession {
public:
    explicit ComponentSession(const QString& databasePath);
    explicit ComponentSession(std::shared_ptr<Connection> connection);
    // Detaches the connection, which closes the file.
    ~ComponentSession();
    ComponentSession(const ComponentSession&) = delete;
    ComponentSession& operator=(const ComponentSession&) = delete;

    Manager& manager() const { return *manager_; }
    std::shared_ptr<Connection> connection() const;

private:
    std::shared_ptr<Manager> manager_;
};

// A plain sqlite3 connection with the journal mode, synchronous setting and busy timeout
// the component's connection uses, so that raw and component figures compare like with like.
class RawDatabase {
public:
    explicit RawDatabase(const QString& path);
    ~RawDatabase();
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    sqlite3* handle() const { return db_; }
    void execute(const char* sql);
    // Raises the connection's last error, prefixed by what was being done.
    [[noreturn]] void fail(const char* what) const;

private:
    sqlite3* db_ = nullptr;
};

class RawStatement {
public:
    RawStatement(const RawDatabase& database, const QByteArray& sql);
    ~RawStatement();
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;

    sqlite3_stmt* handle() const { return statement_; }
    void bindText(int parameter, const QByteArray& text);
    void bindInt64(int parameter, qint64 value);
    // Not copied, as the component's driver does not copy either: the bytes must outlive step().
    void bindBlob(int parameter, const char* bytes, qint64 size);
    // True while the statement gives a row.
    bool step();
    void reset();

private:
    const RawDatabase& database_;
    sqlite3_stmt* statement_ = nullptr;
};

// A file read or written through the C library, for the raw baselines.
class RawFile {
public:
    RawFile(const QString& path, const char* mode);
    ~RawFile();
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    // Fills buffer up to bytes; gives fewer only at the end of the file.
    std::size_t read(char* buffer, std::size_t bytes);
    void write(const char* buffer, std::size_t bytes);
    qint64 size() const;

private:
    std::FILE* file_ = nullptr;
};

}  // namespace dorvanel::bench
