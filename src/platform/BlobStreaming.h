#pragma once

#include <QString>
#include <QVariant>
#include <functional>

class QIODevice;
struct evp_md_ctx_st;

namespace dorvanel {

class Connection;

// Moves BLOB values between files and the database in fixed-size chunks, so that a document
// of any size costs about one chunk of memory. On SQLite the value is written and read in
// place; on PostgreSQL it goes to the server in one binary COPY and is read back in binary
// slices, through libpq on the driver's connection.
namespace BlobStreaming {

constexpr qint64 ChunkSize = 1024 * 1024;

// Builds a content's SHA-256 digest from its pieces, in order, as they pass.
class Digester {
public:
    Digester();
    ~Digester();
    Digester(const Digester&) = delete;
    Digester& operator=(const Digester&) = delete;

    void add(const char* bytes, qint64 count);
    qint64 size() const { return size_; }
    // Of what was added so far, as 64 lowercase hexadecimal digits.
    QByteArray sha256() const;

private:
    evp_md_ctx_st* context_;
    qint64 size_ = 0;
};

// How a content column appears in the statement that writes its row: the placeholder and its
// bound value. A file of at most one chunk is bound whole; a larger one is copied in afterwards
// by writeFromFile (streamed). "" stands for NULL. A file's size is known from the start; the
// digest of a bound one is taken as it is read, a streamed one's comes from writeFromFile.
struct Slot {
    QString placeholder;
    QVariant value;
    bool streamed = false;
    qint64 size = 0;
    QByteArray sha256 = {};
};
Slot slotFor(const Connection& connection, const QString& file);

// Copies the file into the column of the row whose keyColumn holds key. Raises Error when the
// row does not exist, or the file cannot be read or changes size meanwhile. Gives the SHA-256
// digest of the bytes copied, as Digester does.
QByteArray writeFromFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                         const QVariant& key, const QString& file);

// Copies the column of that row to target as it is read, a chunk at a time. False, and nothing
// written, when there is no such row or the value is NULL. A failure to write to target raises
// Error::FileFailed with the system's reason, naming target as targetName.
bool readTo(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
            const QVariant& key, QIODevice& target, const QString& targetName);

// Copies the column of that row into a file at path. The file appears, replacing any older
// one, only once it is complete. False, and no file, when the value is NULL.
bool readToFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                const QVariant& key, const QString& path);

// Hands the column of that row to piece a chunk at a time, in order. False, and no piece, when
// the value is NULL.
using PieceSink = std::function<void(const char* bytes, qint64 count)>;
bool readPieces(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                const QVariant& key, const PieceSink& piece);

// Copies the fromColumn value of the row whose fromKeyColumn holds fromKey into toColumn of the
// row whose toKeyColumn holds toKey, a chunk at a time on SQLite and on the server alone on
// PostgreSQL: the value never passes through this process whole. NULL is copied as NULL. Raises
// Error when either row does not exist. alsoSet, "column = expression, ...", joins the one UPDATE
// of the target row: on SQLite an update trigger that writes the row again would read the whole
// value into memory, and setting what it sets (Docs' time) in the same update keeps it from that.
void copyValue(Connection& connection, const QString& fromTable, const QString& fromColumn,
               const QString& fromKeyColumn, const QVariant& fromKey, const QString& toTable, const QString& toColumn,
               const QString& toKeyColumn, const QVariant& toKey, const QString& alsoSet = {});

}  // namespace BlobStreaming

}  // namespace dorvanel
