#include "platform/BlobStreaming.h"

#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/NewFile.h"
#include "platform/PostgreSqlWire.h"
#include "platform/QtSqlDatabase.h"
#include "platform/Recordset.h"
#include "platform/SqliteDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <memory>
#include <optional>

#include <libpq-fe.h>
#include <openssl/evp.h>
#include <sqlite3.h>

namespace dorvanel::BlobStreaming {

namespace {

bool onSqlite(const Connection& connection) { return connection.engine() == Connection::Engine::Sqlite; }

Error fileError(const QString& path, const QString& why, int code = 0) {
    return systemError(
        Error::FileFailed,
        QCoreApplication::translate("dorvanel::BlobStreaming", "No se pudo copiar el archivo %1: %2").arg(path, why),
        code);
}

Error fileError(const QFile& source, int code) {
    return fileError(source.fileName(), deviceErrorText(source, code), code);
}

// Reads into the whole of buffer, or less at the file's end, and digests what it read; returns
// the count (0 at the end).
qint64 readInto(QFile& source, QByteArray& buffer, Digester& digester) {
    qint64 read = 0;
    if (const auto code = failedCall([&] { return (read = source.read(buffer.data(), buffer.size())) >= 0; }))
        throw fileError(source, *code);
    digester.add(buffer.constData(), read);
    return read;
}

QByteArray wholeFile(QFile& source, Digester& digester) {
    QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) throw fileError(source.fileName(), source.errorString());
    digester.add(bytes.constData(), bytes.size());
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
        throw sqliteError(code, db);
    }
    return SqliteBlob(blob);
}

void checkSqlite(Connection& connection, int code) {
    if (code != SQLITE_OK) throw sqliteError(code, sqliteHandle(connection));
}

Error fileChanged(const QFile& source) {
    return fileError(source.fileName(),
                     QCoreApplication::translate("dorvanel::BlobStreaming", "el archivo cambió mientras se guardaba"));
}

Error missingRow(const QString& table, const QVariant& key) {
    return Error(Error::NoCurrentRecord,
                 QCoreApplication::translate("dorvanel::BlobStreaming", "No existe la fila %1 de %2")
                     .arg(key.toString(), table));
}

// Hands the file to write a chunk at a time, digesting it on the way; it must have exactly size
// bytes. piece is told each chunk's offset.
void sendFile(QFile& source, qint64 size, Digester& digester,
              const std::function<void(const char* bytes, qint64 count, qint64 offset)>& piece) {
    QByteArray buffer(qBound<qint64>(1, size, ChunkSize), Qt::Uninitialized);
    qint64 offset = 0;
    for (qint64 read = readInto(source, buffer, digester); read > 0; read = readInto(source, buffer, digester)) {
        if (offset + read > size) throw fileChanged(source);
        piece(buffer.constData(), read, offset);
        offset += read;
    }
    if (offset != size) throw fileChanged(source);
}

// Sends the whole file as the one value of a binary COPY: exactly the size it had when opened.
void copyToServer(Connection& connection, const QString& copySql, QFile& source, Digester& digester) {
    const qint64 size = source.size();
    PostgreSqlWire::ValueCopy copy(postgreSqlHandle(connection), copySql, size);
    sendFile(source, size, digester, [&](const char* bytes, qint64 count, qint64) { copy.write(bytes, count); });
    copy.finish();
}

// The zero-filled value already has the file's size: the file must fill it exactly.
void writeInPlace(Connection& connection, const QString& table, const QString& column, qint64 rowid, QFile& source,
                  Digester& digester) {
    SqliteBlob blob = openSqliteBlob(connection, table, column, rowid, true);
    sendFile(source, sqlite3_blob_bytes(blob.get()), digester, [&](const char* bytes, qint64 count, qint64 offset) {
        checkSqlite(connection, sqlite3_blob_write(blob.get(), bytes, int(count), int(offset)));
    });
}

// The file goes to the server in one binary COPY, a chunk at a time, into a table of the
// session's own that lives only while this runs; the row then takes its value from there.
void writeThroughCopy(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                      const QVariant& key, QFile& source, Digester& digester) {
    const QString staging = QStringLiteral("dorvanel_content");
    // A failure undoes the staging table with the rest; a savepoint inside a caller's transaction.
    Connection::Transaction transaction(connection);
    connection.Execute(QStringLiteral("CREATE TEMPORARY TABLE %1 (content bytea)").arg(staging));
    // Kept as it comes, as the content columns are: compressing it would only be undone.
    connection.Execute(QStringLiteral("ALTER TABLE %1 ALTER COLUMN content SET STORAGE EXTERNAL").arg(staging));
    copyToServer(connection, QStringLiteral("COPY %1 FROM STDIN (FORMAT binary)").arg(staging), source, digester);
    qint32 changed = 0;
    connection.Execute(QStringLiteral("UPDATE %1 SET %2 = (SELECT content FROM %3) WHERE %4 = ?")
                           .arg(table, column, staging, keyColumn),
                       {key}, &changed);
    if (changed == 0) throw missingRow(table, key);
    connection.Execute(QStringLiteral("DROP TABLE %1").arg(staging));
    transaction.commit();
}

void readInPlace(Connection& connection, const QString& table, const QString& column, qint64 rowid,
                 const PieceSink& piece) {
    SqliteBlob blob = openSqliteBlob(connection, table, column, rowid, false);
    const qint64 size = sqlite3_blob_bytes(blob.get());
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    for (qint64 offset = 0; offset < size; offset += ChunkSize) {
        const int length = int(qMin(ChunkSize, size - offset));
        checkSqlite(connection, sqlite3_blob_read(blob.get(), chunk.data(), length, int(offset)));
        piece(chunk.constData(), length);
    }
}

// Fetched once: looking the algorithm up for every digest, as EVP_sha256() makes the first
// use of a context do, costs about as much as digesting a small document.
const EVP_MD* sha256Algorithm() {
    static const EVP_MD* const algorithm = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    return algorithm;
}

// Where a value is: its row's rowid (on SQLite) and its size.
struct Place {
    qint64 rowid;
    qint64 size;
};

// A row and its value's size, none for NULL; nothing when there is no such row.
struct ValueRow {
    qint64 rowid;
    std::optional<qint64> size;
};
std::optional<ValueRow> findRow(Connection& connection, const QString& table, const QString& column,
                                const QString& keyColumn, const QVariant& key) {
    const QString sql = onSqlite(connection) ? QStringLiteral("SELECT rowid, length(%1) FROM %2 WHERE %3 = ?")
                                             : QStringLiteral("SELECT 0, octet_length(%1) FROM %2 WHERE %3 = ?");
    const auto row = connection.Execute(sql.arg(column, table, keyColumn), {key});
    if (row->Eof()) return std::nullopt;
    const QVariant size = row->value(1);
    return ValueRow{row->value(0).toLongLong(), size.isNull() ? std::nullopt : std::optional(size.toLongLong())};
}

// Nothing when there is no such row or its value is NULL.
std::optional<Place> locate(Connection& connection, const QString& table, const QString& column,
                            const QString& keyColumn, const QVariant& key) {
    const std::optional<ValueRow> row = findRow(connection, table, column, keyColumn, key);
    if (!row || !row->size) return std::nullopt;
    return Place{row->rowid, *row->size};
}

// Each slice comes in binary form; the columns are stored uncompressed, so the server reads
// only the part a slice covers.
void readInSlices(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                  const QVariant& key, qint64 size, const PieceSink& piece) {
    const QString slice =
        QStringLiteral("SELECT substring(%1 from $1 for $2) FROM %2 WHERE %3 = $3").arg(column, table, keyColumn);
    const QByteArray keyText = key.toString().toUtf8();
    for (qint64 offset = 0; offset < size; offset += ChunkSize) {
        const PostgreSqlWire::Result chunk =
            PostgreSqlWire::query(postgreSqlHandle(connection), slice,
                                  {QByteArray::number(offset + 1), QByteArray::number(ChunkSize), keyText});
        const qint64 expected = qMin(ChunkSize, size - offset);
        if (PQntuples(chunk.get()) != 1 || PQgetlength(chunk.get(), 0, 0) != expected)
            throw Error(Error::NoCurrentRecord,
                        QCoreApplication::translate("dorvanel::BlobStreaming",
                                                    "El contenido de la fila %1 de %2 cambió mientras se leía")
                            .arg(key.toString(), table));
        piece(PQgetvalue(chunk.get(), 0, 0), expected);
    }
}

void readPlace(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
               const QVariant& key, const Place& place, const PieceSink& piece) {
    if (onSqlite(connection)) {
        readInPlace(connection, table, column, place.rowid, piece);
    } else {
        readInSlices(connection, table, column, keyColumn, key, place.size, piece);
    }
}

// What the target's UPDATE sets: its column by the placeholder, and alsoSet.
struct TargetUpdate {
    QString table;
    QString column;
    QString keyColumn;
    QVariant key;
    QString alsoSet;

    // Sets the column with the placeholder bound to value; the row must exist.
    void set(Connection& connection, const QString& placeholder, const QVariant& value) const {
        const QString assignments = QStringLiteral("%1 = %2").arg(column, placeholder) +
                                    (alsoSet.isEmpty() ? QString() : ", " + alsoSet);
        qint32 changed = 0;
        connection.Execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(table, assignments, keyColumn),
                           {value, key}, &changed);
        if (changed == 0) throw missingRow(table, key);
    }
};

// The target gets a zero-filled value of the source's size, then the source's bytes in place.
void copyInPlace(Connection& connection, const QString& fromTable, const QString& fromColumn, const ValueRow& source,
                 const TargetUpdate& target) {
    if (!source.size) {
        target.set(connection, QStringLiteral("?"), QVariant(QMetaType(QMetaType::QByteArray)));
        return;
    }
    target.set(connection, QStringLiteral("zeroblob(?)"), *source.size);
    const std::optional<Place> place = locate(connection, target.table, target.column, target.keyColumn, target.key);
    if (!place) throw missingRow(target.table, target.key);
    SqliteBlob blob = openSqliteBlob(connection, target.table, target.column, place->rowid, true);
    qint64 offset = 0;
    readInPlace(connection, fromTable, fromColumn, source.rowid, [&](const char* bytes, qint64 count) {
        checkSqlite(connection, sqlite3_blob_write(blob.get(), bytes, int(count), int(offset)));
        offset += count;
    });
}

}  // namespace

Digester::Digester() : context_(EVP_MD_CTX_new()) {
    if (!context_ || EVP_DigestInit_ex(context_, sha256Algorithm(), nullptr) != 1)
        throw Error(Error::Unexpected,
                    QCoreApplication::translate("dorvanel::BlobStreaming", "No se pudo preparar el cálculo SHA-256"));
}

Digester::~Digester() { EVP_MD_CTX_free(context_); }

void Digester::add(const char* bytes, qint64 count) {
    EVP_DigestUpdate(context_, bytes, std::size_t(count));
    size_ += count;
}

// Finished on a copy, so that more may still be added.
QByteArray Digester::sha256() const {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> copy(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    if (!copy || EVP_MD_CTX_copy_ex(copy.get(), context_) != 1 ||
        EVP_DigestFinal_ex(copy.get(), reinterpret_cast<unsigned char*>(digest.data()), &length) != 1)
        throw Error(Error::Unexpected,
                    QCoreApplication::translate("dorvanel::BlobStreaming", "No se pudo terminar el cálculo SHA-256"));
    digest.truncate(int(length));
    return digest.toHex();
}

Slot slotFor(const Connection& connection, const QString& file) {
    const QVariant null{QMetaType(QMetaType::QByteArray)};
    if (file.isEmpty()) return {QStringLiteral("?"), null};
    QFile source(file);
    // Read straight into the value, without QFile's own buffer in between.
    if (const auto code = failedCall([&] { return source.open(QIODevice::ReadOnly | QIODevice::Unbuffered); }))
        throw fileError(source, *code);
    const qint64 size = source.size();
    if (size <= ChunkSize) {
        Digester digester;
        QByteArray bytes = wholeFile(source, digester);
        return {QStringLiteral("?"), std::move(bytes), false, digester.size(), digester.sha256()};
    }
    if (onSqlite(connection)) return {QStringLiteral("zeroblob(?)"), size, true, size};
    return {QStringLiteral("?"), null, true, size};
}

QByteArray writeFromFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                         const QVariant& key, const QString& file) {
    QFile source(file);
    if (const auto code = failedCall([&] { return source.open(QIODevice::ReadOnly); })) throw fileError(source, *code);
    Digester digester;
    if (onSqlite(connection)) {
        // The row holds the zero-filled value already, never NULL.
        const std::optional<Place> place = locate(connection, table, column, keyColumn, key);
        if (!place) throw missingRow(table, key);
        writeInPlace(connection, table, column, place->rowid, source, digester);
    } else {
        writeThroughCopy(connection, table, column, keyColumn, key, source, digester);
    }
    return digester.sha256();
}

bool readPieces(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                const QVariant& key, const PieceSink& piece) {
    const std::optional<Place> place = locate(connection, table, column, keyColumn, key);
    if (!place) return false;
    readPlace(connection, table, column, keyColumn, key, *place, piece);
    return true;
}

bool readTo(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
            const QVariant& key, QIODevice& target, const QString& targetName) {
    return readPieces(connection, table, column, keyColumn, key, [&](const char* data, qint64 length) {
        if (const auto code = failedCall([&] { return target.write(data, length) == length; }))
            throw systemError(Error::FileFailed,
                              QCoreApplication::translate("dorvanel::BlobStreaming", "No se pudo escribir en %1: %2")
                                  .arg(targetName, deviceErrorText(target, *code)),
                              *code);
    });
}

bool readToFile(Connection& connection, const QString& table, const QString& column, const QString& keyColumn,
                const QVariant& key, const QString& path) {
    const std::optional<Place> place = locate(connection, table, column, keyColumn, key);
    if (!place) return false;
    NewFile target(path);
    readPlace(connection, table, column, keyColumn, key, *place,
              [&](const char* bytes, qint64 count) { target.write(bytes, count); });
    target.commit();
    return true;
}

void copyValue(Connection& connection, const QString& fromTable, const QString& fromColumn,
               const QString& fromKeyColumn, const QVariant& fromKey, const QString& toTable, const QString& toColumn,
               const QString& toKeyColumn, const QVariant& toKey, const QString& alsoSet) {
    const std::optional<ValueRow> source = findRow(connection, fromTable, fromColumn, fromKeyColumn, fromKey);
    if (!source) throw missingRow(fromTable, fromKey);
    const TargetUpdate target{toTable, toColumn, toKeyColumn, toKey, alsoSet};
    if (onSqlite(connection)) {
        copyInPlace(connection, fromTable, fromColumn, *source, target);
    } else {
        target.set(connection,
                   QStringLiteral("(SELECT %1 FROM %2 WHERE %3 = ?)").arg(fromColumn, fromTable, fromKeyColumn),
                   fromKey);
    }
}

}  // namespace dorvanel::BlobStreaming
