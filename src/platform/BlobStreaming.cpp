#include "platform/BlobStreaming.h"

#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/NewFile.h"
#include "platform/Recordset.h"
#include "platform/SqliteDatabase.h"

#include <QFile>
#include <memory>

#include <sqlite3.h>

namespace dorvanel::BlobStreaming {

namespace {

bool onSqlite(const Connection& connection) { return connection.engine() == Connection::Engine::Sqlite; }

Error fileError(const QString& path, const QString& why) {
    return Error(Error::FileFailed, QStringLiteral("No se pudo copiar el archivo %1: %2").arg(path, why));
}

// Reads into the whole of buffer, or less at the file's end; returns the count (0 at the end).
qint64 readInto(QFile& source, QByteArray& buffer) {
    const qint64 read = source.read(buffer.data(), buffer.size());
    if (read < 0) throw fileError(source.fileName(), source.errorString());
    return read;
}

QByteArray wholeFile(QFile& source) {
    QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) throw fileError(source.fileName(), source.errorString());
    return bytes.isNull() ? QByteArray("") : bytes;  // an empty file is an empty value, not NULL
}

struct BlobCloser {
    void operator()(sqlite3_blob* blob) const { sqlite3_blob_close(blob); }
};
using SqliteBlob = std::unique_ptr<sqlite3_blob, BlobCloser>;

SqliteBlob openSqliteBlob(Connection& connection, const QString& table, const QString& column, qint64 rowid,
                          bool forWriting) {
    sqlite3* db = sqliteHandle(connection);
    sqlite3_blob* blob = nullptr;
    const int code = sqlite3_blob_open(db, "main", table.toUtf8().constData(), column.toUtf8().constData(), rowid,
                                       forWriting ? 1 : 0, &blob);
    if (code != SQLITE_OK) {
        sqlite3_blob_close(blob);
        throw Error(code, QString::fromUtf8(sqlite3_errmsg(db)));
    }
    return SqliteBlob(blob);
}

void checkSqlite(Connection& connection, int code) {
    if (code != SQLITE_OK) throw Error(code, QString::fromUtf8(sqlite3_errmsg(sqliteHandle(connection))));
}

Error fileChanged(const QFile& source) {
    return fileError(source.fileName(), QStringLiteral("el archivo cambió mientras se guardaba"));
}

// The zero-filled value already has the file's size: the file must fill it exactly.
void writeInPlace(Connection& connection, const QString& table, const QString& column, qint64 rowid, QFile& source) {
    SqliteBlob blob = openSqliteBlob(connection, table, column, rowid, true);
    const qint64 size = sqlite3_blob_bytes(blob.get());
    QByteArray buffer(qBound<qint64>(1, size, ChunkSize), Qt::Uninitialized);
    qint64 offset = 0;
    for (qint64 read = readInto(source, buffer); read > 0; read = readInto(source, buffer)) {
        if (offset + read > size) throw fileChanged(source);
        checkSqlite(connection, sqlite3_blob_write(blob.get(), buffer.constData(), int(read), int(offset)));
        offset += read;
    }
    if (offset != size) throw fileChanged(source);
}

// The chunks are gathered in a large object on the server, which then becomes the value.
void writeThroughLargeObject(Connection& connection, const QString& table, const QString& column,
                             const QString& keyColumn, const QVariant& key, QFile& source) {
    const qint64 size = source.size();
    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    const auto chunkRead = [&](qint64 read) { return QByteArray(buffer.constData(), read); };
    const qint64 largeObject =
        connection.Execute(QStringLiteral("SELECT lo_from_bytea(0, ?)"), {chunkRead(readInto(source, buffer))})
            ->Fields(0)
            .toLongLong();
    for (qint64 read = readInto(source, buffer); read > 0; read = readInto(source, buffer))
        connection.Execute(QStringLiteral("SELECT lo_put(?, ?, ?)"),
                           {largeObject, source.pos() - read, chunkRead(read)});
    if (source.pos() != size) throw fileChanged(source);
    connection.Execute(QStringLiteral("UPDATE %1 SET %2 = lo_get(?) WHERE %3 = ?").arg(table, column, keyColumn),
                       {largeObject, key});
    connection.Execute(QStringLiteral("SELECT lo_unlink(?)"), {largeObject});
}

void readInPlace(Connection& connection, const QString& table, const QString& column, qint64 rowid, NewFile& target) {
    SqliteBlob blob = openSqliteBlob(connection, table, column, rowid, false);
    const qint64 size = sqlite3_blob_bytes(blob.get());
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    for (qint64 offset = 0; offset < size; offset += ChunkSize) {
        const int length = int(qMin(ChunkSize, size - offset));
        checkSqlite(connection, sqlite3_blob_read(blob.get(), chunk.data(), length, int(offset)));
        target.write(chunk.constData(), length);
    }
}

void readInSlices(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                  const QVariant& key, qint64 size, NewFile& target) {
    const QString slice =
        QStringLiteral("SELECT substring(%1 from ? for ?) FROM %2 WHERE %3 = ?").arg(column, table, keyColumn);
    for (qint64 offset = 0; offset < size; offset += ChunkSize) {
        const QByteArray chunk = connection.Execute(slice, {offset + 1, ChunkSize, key})->Fields(0).toByteArray();
        target.write(chunk.constData(), chunk.size());
    }
}

}  // namespace

bool readsInPlace(const Connection& connection) { return onSqlite(connection); }

Slot slotFor(const Connection& connection, const QString& file) {
    const QVariant null(QMetaType(QMetaType::QByteArray));
    if (file.isEmpty()) return {QStringLiteral("?"), null};
    QFile source(file);
    // Read straight into the value, without QFile's own buffer in between.
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) throw fileError(file, source.errorString());
    const qint64 size = source.size();
    if (size <= ChunkSize) return {QStringLiteral("?"), wholeFile(source)};
    if (onSqlite(connection)) return {QStringLiteral("zeroblob(?)"), size, true};
    return {QStringLiteral("?"), null, true};
}

void writeFromFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                   const QVariant& key, const QString& file) {
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) throw fileError(file, source.errorString());
    if (onSqlite(connection)) {
        auto row = connection.Execute(QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?").arg(table, keyColumn), {key});
        if (row->Eof())
            throw Error(Error::NoCurrentRecord,
                        QStringLiteral("No existe la fila %1 de %2").arg(key.toString(), table));
        writeInPlace(connection, table, column, row->Fields(0).toLongLong(), source);
    } else {
        writeThroughLargeObject(connection, table, column, keyColumn, key, source);
    }
}

bool readToFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                const QVariant& key, const QString& path) {
    // The row's place (on SQLite its rowid) and the value's length, NULL for no value.
    const QString locate = onSqlite(connection) ? QStringLiteral("SELECT rowid, length(%1) FROM %2 WHERE %3 = ?")
                                                : QStringLiteral("SELECT %3, octet_length(%1) FROM %2 WHERE %3 = ?");
    auto row = connection.Execute(locate.arg(column, table, keyColumn), {key});
    if (row->Eof() || row->Fields(1).isNull()) return false;
    NewFile target(path);
    if (onSqlite(connection)) {
        readInPlace(connection, table, column, row->Fields(0).toLongLong(), target);
    } else {
        readInSlices(connection, table, column, keyColumn, key, row->Fields(1).toLongLong(), target);
    }
    target.commit();
    return true;
}

}  // namespace dorvanel::BlobStreaming
