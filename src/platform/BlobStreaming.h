#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;

namespace dorvanel {

class Connection;

// Moves BLOB values between files and the database in fixed-size chunks, so that a document
// of any size costs about one chunk of memory. On SQLite the value is written and read in
// place; on PostgreSQL it is assembled in a large object and read in slices.
namespace BlobStreaming {

constexpr qint64 ChunkSize = 1024 * 1024;

// Whether the engine reads a BLOB in place, so that a query may leave it out (SQLite).
bool ReadsInPlace(const Connection& connection);

// How a content column appears in the statement that writes its row: the placeholder and its
// bound value. A file of at most one chunk is bound whole; a larger one is copied in afterwards
// by WriteFromFile (streamed). "" stands for NULL.
struct Slot {
    QString placeholder;
    QVariant value;
    bool streamed = false;
};
Slot SlotFor(const Connection& connection, const QString& file);

// Copies the file into the column of the row whose integer primary key (on SQLite its rowid)
// is `key`. Raises Error when the file cannot be read or changes size meanwhile.
void WriteFromFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                   qint64 key, const QString& file);

// Copies the column of that row into a file at path. The file appears, replacing any older
// one, only once it is complete. False, and no file, when the value is NULL.
bool ReadToFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                qint64 key, const QString& path);

// While it lives, statements prepared on a SQLite connection read the column as NULL, so that
// a BLOB in it is never loaded; on other engines it does nothing.
class ColumnLeftOut {
public:
    ColumnLeftOut(Connection& connection, const QString& column);
    ~ColumnLeftOut();
    ColumnLeftOut(const ColumnLeftOut&) = delete;
    ColumnLeftOut& operator=(const ColumnLeftOut&) = delete;

private:
    sqlite3* db_ = nullptr;
    QByteArray column_;
};

}  // namespace BlobStreaming

}  // namespace dorvanel
