#include "DocumentTransfers.h"

#include "BenchSupport.h"
#include "component/Manager.h"
#include "platform/ComponentFile.h"
#include "platform/FileNames.h"
#include "repository/DocumentToTempFile.h"
#include "repository/SqlTexts.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <vector>

namespace dorvanel::bench {

namespace {

// An open BLOB handle on one row's Data column.
class RawBlob {
public:
    RawBlob(const RawDatabase& database, qint64 sysPk, bool writable) : database_(database) {
        if (sqlite3_blob_open(database.handle(), "main", "Docs", "Data", sysPk, writable ? 1 : 0, &blob_) != SQLITE_OK)
            database.fail("blob open");
    }
    ~RawBlob() { sqlite3_blob_close(blob_); }
    RawBlob(const RawBlob&) = delete;
    RawBlob& operator=(const RawBlob&) = delete;

    qint64 size() const { return sqlite3_blob_bytes(blob_); }
    void read(char* buffer, qint64 bytes, qint64 offset) {
        if (sqlite3_blob_read(blob_, buffer, int(bytes), int(offset)) != SQLITE_OK) database_.fail("blob read");
    }
    void write(const char* buffer, qint64 bytes, qint64 offset) {
        if (sqlite3_blob_write(blob_, buffer, int(bytes), int(offset)) != SQLITE_OK) database_.fail("blob write");
    }

private:
    const RawDatabase& database_;
    sqlite3_blob* blob_ = nullptr;
};

void copyFileToBlob(RawFile& source, RawBlob& target) {
    std::vector<char> chunk(ChunkBytes);
    for (qint64 offset = 0; offset < target.size(); offset += ChunkBytes) {
        const qint64 bytes = std::min(ChunkBytes, target.size() - offset);
        Require(source.read(chunk.data(), bytes) == std::size_t(bytes), "a data file ended early");
        target.write(chunk.data(), bytes, offset);
    }
}

void copyBlobToFile(RawBlob& source, RawFile& target) {
    std::vector<char> chunk(ChunkBytes);
    for (qint64 offset = 0; offset < source.size(); offset += ChunkBytes) {
        const qint64 bytes = std::min(ChunkBytes, source.size() - offset);
        source.read(chunk.data(), bytes, offset);
        target.write(chunk.data(), bytes);
    }
}

qint64 insertZeroFilledDocument(RawDatabase& database, const QString& file, const QString& typeData, qint64 bytes) {
    RawStatement insert(database, InsertDocumentSql("zeroblob(?6)"));
    BindDocumentTexts(insert, file, typeData);
    insert.bindInt64(6, bytes);
    insert.step();
    return sqlite3_last_insert_rowid(database.handle());
}

}  // namespace

QByteArray InsertDocumentSql(const char* dataExpression) {
    return QByteArray(
               "INSERT INTO Docs (Sys_GUID, Name, Description, Works, TypeData, storeout, urlfile, Data, MiniData) "
               "VALUES (?1, ?2, ?3, ?4, ?5, 0, NULL, ") +
           dataExpression + ", NULL)";
}

void BindDocumentTexts(RawStatement& insert, const QString& file, const QString& typeData) {
    insert.bindText(1, NextDocumentKey());
    insert.bindText(2, QFileInfo(file).fileName().toUtf8());
    insert.bindText(3, DocumentDescription.toUtf8());
    insert.bindText(4, DocumentKeywords.toUtf8());
    insert.bindText(5, typeData.toUtf8());
}

void StoreThroughComponent(Manager& manager, const QString& file) {
    const QString guid = manager.StoreDocument(QFileInfo(file).fileName(), DocumentDescription, DocumentKeywords,
                                               QString(), file, false);
    Require(!guid.isEmpty(), "StoreDocument stored nothing");
}

qint64 StoreIncrementallyRaw(RawDatabase& database, const QString& file, const QString& typeData) {
    RawFile source(file, "rb");
    database.execute("BEGIN");
    const qint64 sysPk = insertZeroFilledDocument(database, file, typeData, source.size());
    {
        RawBlob target(database, sysPk, true);
        copyFileToBlob(source, target);
    }
    database.execute("COMMIT");
    return sysPk;
}

FetchSource PrepareFetchSource(ScratchFolder& folder, qint64 bytes) {
    const QString content = folder.path(QStringLiteral("fetched.bin"));
    WriteRandomFile(content, bytes);
    FetchSource source{folder.newDatabase(), 0};
    {
        RawDatabase database(source.database);
        source.sysPk = StoreIncrementallyRaw(database, content, FetchedType);
    }
    QFile::remove(content);
    return source;
}

QString FetchThroughComponent(const std::shared_ptr<Connection>& connection, qint64 sysPk) {
    const QString file = DocumentToTempFile(connection, SqlTexts::documentContent(qint32(sysPk)),
                                            QStringLiteral("data"), qint32(sysPk));
    Require(!file.isEmpty(), "DocumentToTempFile wrote nothing");
    return file;
}

QString RawFetchedFile() { return fileInFolder(ComponentFile::tempFolder(), QStringLiteral("raw.") + FetchedType); }

QString FetchRaw(RawDatabase& database, qint64 sysPk) {
    const QString file = RawFetchedFile();
    RawBlob source(database, sysPk, false);
    RawFile target(file, "wb");
    copyBlobToFile(source, target);
    return file;
}

}  // namespace dorvanel::bench
