#include "platform/BlobStreaming.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "support/RepositoryTest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

constexpr qint64 Chunk = BlobStreaming::ChunkSize;

class LargeDocumentTest : public RepositoryTest {
protected:
    // A file of `size` pseudo-random bytes, written a chunk at a time; returns its path and digest.
    std::pair<QString, QByteArray> makeFile(const QString& name, qint64 size) {
        const QString path = folder() + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QCryptographicHash digest(QCryptographicHash::Sha256);
        QRandomGenerator generator{quint32(size)};
        QByteArray chunk;
        for (qint64 written = 0; written < size; written += chunk.size()) {
            chunk.resize(qMin(Chunk, size - written));
            generator.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
            file.write(chunk);
            digest.addData(chunk);
        }
        return {path, digest.result()};
    }
    static QByteArray digestOf(const QString& path) {
        QFile file(path);
        QCryptographicHash digest(QCryptographicHash::Sha256);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        digest.addData(&file);
        return digest.result();
    }
    // The number of the Error raised by copying the file into Data of the row that keyColumn picks.
    qint32 refusalToWrite(const QString& keyColumn, const QVariant& key, const QString& file) {
        return raisedBy([&] {
                   BlobStreaming::writeFromFile(*connection, QStringLiteral("Docs"), QStringLiteral("Data"), keyColumn,
                                                key, file);
               })
            .number();
    }
};

TEST_F(LargeDocumentTest, ContentRoundTripsByteExactAtEverySize) {
    const qint64 sizes[] = {0, 1, Chunk - 1, Chunk, Chunk + 1, 3 * Chunk, LargestDocument};
    for (const qint64 size : sizes) {
        const auto [file, digest] = makeFile(QStringLiteral("doc-%1.bin").arg(size), size);
        const QString guid = manager->StoreDocument(QStringLiteral("Grande"), QString(), QString(), file, file);
        ASSERT_EQ(guid.length(), 32) << size;
        const QString fetched = manager->GetDocumentFile(guid);
        EXPECT_EQ(QFileInfo(fetched).size(), size);
        EXPECT_EQ(digestOf(fetched), digest) << "GetDocumentFile, " << size << " bytes";
        QFile::remove(fetched);
        EXPECT_EQ(digestOf(toTempFile(guid)), digest) << "DocumentToTempFile, " << size << " bytes";
        EXPECT_EQ(digestOf(toTempFile(guid, true)), digest) << "miniature, " << size << " bytes";
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(LargeDocumentTest, ContentOfAnotherSizeThanItsPlaceIsRefused) {
    if (onPostgreSql()) GTEST_SKIP() << "the value takes whatever size the file has";
    connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Data) VALUES (?, zeroblob(?))"),
                        {Key(QStringLiteral("Z")), 2 * Chunk});
    const qint64 rowid = pkOf(Key(QStringLiteral("Z")));
    for (const qint64 size : {2 * Chunk - 1, 2 * Chunk + 1}) {
        const QString file = makeFile(QStringLiteral("changed-%1").arg(size), size).first;
        EXPECT_EQ(refusalToWrite(QStringLiteral("Sys_PK"), rowid, file), Error::FileFailed) << size << " bytes";
    }
}

TEST_F(LargeDocumentTest, StreamingJoinsTheCallersTransactionAndAFailureLeavesNothingBehind) {
    const auto [file, digest] = makeFile(QStringLiteral("acta.bin"), 2 * Chunk + 5);
    {
        Connection::Transaction abandoned(*connection);
        EXPECT_EQ(manager->StoreDocument(QStringLiteral("Acta"), QString(), QString(), file, file).length(), 32);
    }
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
    for (int attempt = 1; attempt <= 2; ++attempt)
        EXPECT_EQ(refusalToWrite(QStringLiteral("Sys_GUID"), Key(QStringLiteral("missing")), file),
                  Error::NoCurrentRecord)
            << "attempt " << attempt << " wrote to no row";
    const QString guid = manager->StoreDocument(QStringLiteral("Acta"), QString(), QString(), QString(), file);
    manager->StoreDocument(QStringLiteral("Otra"), QString(), QString(), QString(), file);
    // A query whose rows are still being read does not stand in the way.
    const auto reading = connection->Execute(QStringLiteral("SELECT Sys_GUID FROM Docs"));
    EXPECT_EQ(digestOf(toTempFile(guid)), digest);
    EXPECT_EQ(digestOf(manager->GetDocumentFile(guid)), digest);
}

TEST_F(LargeDocumentTest, ValueCopiedToAnotherRowIsByteExact) {
    const auto copy = [&](const QString& from, const QString& to) {
        BlobStreaming::copyValue(*connection, QStringLiteral("Docs"), QStringLiteral("Data"),
                                 QStringLiteral("Sys_GUID"), from, QStringLiteral("Docs"), QStringLiteral("Data"),
                                 QStringLiteral("Sys_GUID"), to);
    };
    const QString target = storeUrl(QStringLiteral("Destino"), QStringLiteral("http://ejemplo.es/a"));
    for (const qint64 size : {qint64(0), Chunk, 5 * Chunk + 3}) {
        const auto [file, digest] = makeFile(QStringLiteral("origen-%1.bin").arg(size), size);
        const QString source = manager->StoreDocument(QStringLiteral("Origen"), QString(), QString(), QString(), file);
        copy(source, target);
        const QString copied = folder() + QStringLiteral("/copia-%1.bin").arg(size);
        ASSERT_TRUE(BlobStreaming::readToFile(*connection, QStringLiteral("Docs"), QStringLiteral("Data"),
                                              QStringLiteral("Sys_GUID"), target, copied))
            << size;
        EXPECT_EQ(digestOf(copied), digest) << size << " bytes";
    }
    copy(storeUrl(QStringLiteral("Vacío"), QStringLiteral("http://ejemplo.es/b")), target);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT 1 FROM Docs WHERE Data IS NULL AND Sys_GUID = '%1'").arg(target)), 1)
        << "NULL is copied as NULL";
    const QString missing = Key(QStringLiteral("missing"));
    EXPECT_EQ(raisedBy([&] { copy(missing, target); }).number(), Error::NoCurrentRecord);
    EXPECT_EQ(raisedBy([&] { copy(target, missing); }).number(), Error::NoCurrentRecord);
}

TEST_F(LargeDocumentTest, UnwritableTempFileIsNeverReportedAsWritten) {
    const QString file = makeFile(QStringLiteral("acta.odt"), 2 * Chunk + 5).first;
    const QString guid = manager->StoreDocument(QStringLiteral("Acta"), QString(), QString(), QString(), file);
    // A folder where the temporary file should go makes its final rename fail.
    const QString blocked = ComponentFile::tempFolder() + QStringLiteral("/temp.odt");
    QFile::remove(blocked);
    ASSERT_TRUE(QDir().mkpath(blocked));
    const QString result = toTempFile(guid);
    QDir(blocked).removeRecursively();
    EXPECT_EQ(result, QString());
    const QStringList leftovers =
        QDir(ComponentFile::tempFolder()).entryList({QStringLiteral("temp.odt*")}, QDir::Files);
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(QLatin1Char(' ')).toStdString();
}

}  // namespace
