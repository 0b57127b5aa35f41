#pragma once

#include <QString>
#include <QVariant>

class QIODevice;

namespace dorvanel {

class Connection;

// Moves BLOB values between files and the database in fixed-size chunks, so that a document
// of any size costs about one chunk of memory. On SQLite the value is written and read in
// place; on PostgreSQL it goes to the server in one binary COPY and is read back in binary
// slices, through libpq on the driver's connection.
namespace BlobStreaming {

constexpr qint64 ChunkSize = 1024 * 1024;

// How a content column appears in the statement that writes its row: the placeholder and its
// bound value. A file of at most one chunk is bound whole; a larger one is copied in afterwards
// by writeFromFile (streamed). "" stands for NULL.
struct Slot {
    QString placeholder;
    QVariant value;
    bool streamed = false;
};
Slot slotFor(const Connection& connection, const QString& file);

// Copies the file into the column of the row whose keyColumn holds key. Raises Error when the
// row does not exist, or the file cannot be read or changes size meanwhile.
void writeFromFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
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

}  // namespace BlobStreaming

}  // namespace dorvanel
