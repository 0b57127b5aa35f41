#pragma once

// Document content moved between files and the database, by the component and by the raw
// SQLite C API, for the benchmarks that store and fetch.

#include "BenchSupport.h"

#include <QString>
#include <memory>

namespace dorvanel {
class Connection;
class Manager;
}  // namespace dorvanel

namespace dorvanel::bench {

// The size of the document the fetching benchmarks read back.
constexpr qint64 FetchedDocumentBytes = 50 * Mebibyte;
// The extension of the files the storing benchmarks store, and so their documents' type code.
inline const QString StoredFileType = QStringLiteral("bin");
// The type code of fetched documents: it names their temporary files, which must not collide
// with those of anyone else using the component's temporary folder.
inline const QString FetchedType = QStringLiteral("benchfetch");

// Texts every stored document carries, whoever stores it.
inline const QString DocumentDescription = QStringLiteral("Documento de prueba");
inline const QString DocumentKeywords = QStringLiteral("prueba rendimiento");

// The INSERT of a new document that the component sends, with dataExpression giving the
// content from parameter 6.
QByteArray InsertDocumentSql(const char* dataExpression);
// Binds parameters 1 to 5 of that INSERT for a document made from file.
void BindDocumentTexts(RawStatement& insert, const QString& file, const QString& typeData);

// Stores a file as a new document through Manager::StoreDocument; raises when it fails.
void StoreThroughComponent(Manager& manager, const QString& file);

// Stores a file the way a streaming writer does: a zero-filled BLOB of the file's size, then
// the bytes a chunk at a time, all in one transaction. Gives the new row's Sys_PK.
qint64 StoreIncrementallyRaw(RawDatabase& database, const QString& file, const QString& typeData);

// A database holding one document of the given size, ready to be fetched.
struct FetchSource {
    QString database;
    qint64 sysPk = 0;
};
FetchSource PrepareFetchSource(ScratchFolder& folder, qint64 bytes);

// The document's content written to its temporary file by the component; gives the file.
QString FetchThroughComponent(const std::shared_ptr<Connection>& connection, qint64 sysPk);

// Where a raw baseline writes the content it fetches: beside the component's temporary files.
QString RawFetchedFile();

// The document's content read with sqlite3_blob_read a chunk at a time and written to
// RawFetchedFile(); gives the file.
QString FetchRaw(RawDatabase& database, qint64 sysPk);

}  // namespace dorvanel::bench
