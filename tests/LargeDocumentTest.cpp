#include "platform/BlobStreaming.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "repository/DocumentToTempFile.h"
#include "repository/SqlTexts.h"
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
        const QString temp = DocumentToTempFile(connection, SqlTexts::documentContent(pkOf(guid)),
                                                QStringLiteral("data"), pkOf(guid));
        EXPECT_EQ(digestOf(temp), digest) << "DocumentToTempFile, " << size << " bytes";
        const QString mini = DocumentToTempFile(connection, SqlTexts::documentMiniature(pkOf(guid)),
                                                QStringLiteral("Minidata"), pkOf(guid));
        EXPECT_EQ(digestOf(mini), digest) << "miniature, " << size << " bytes";
        QFile::remove(temp);
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
        try {
            BlobStreaming::writeFromFile(*connection, QStringLiteral("Docs"), QStringLiteral("Data"),
                                         QStringLiteral("Sys_PK"), rowid, file);
            ADD_FAILURE() << size << " bytes were taken";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), Error::FileFailed);
        }
    }
}

TEST_F(LargeDocumentTest, StreamingJoinsTheCallersTransactionAndAFailureLeavesNothingBehind) {
    const auto [file, digest] = makeFile(QStringLiteral("acta.bin"), 2 * Chunk + 5);
    {
        Connection::Transaction abandoned(*connection);
        EXPECT_EQ(manager->StoreDocument(QStringLiteral("Acta"), QString(), QString(), file, file).length(), 32);
    }
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs")), 0);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        try {
            BlobStreaming::writeFromFile(*connection, QStringLiteral("Docs"), QStringLiteral("Data"),
                                         QStringLiteral("Sys_GUID"), Key(QStringLiteral("missing")), file);
            ADD_FAILURE() << "attempt " << attempt << " wrote to no row";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), Error::NoCurrentRecord) << error.what();
        }
    }
    const QString guid = manager->StoreDocument(QStringLiteral("Acta"), QString(), QString(), QString(), file);
    manager->StoreDocument(QStringLiteral("Otra"), QString(), QString(), QString(), file);
    const qint32 pk = pkOf(guid);
    // A query whose rows are still being read does not stand in the way.
    const auto reading = connection->Execute(QStringLiteral("SELECT Sys_GUID FROM Docs"));
    EXPECT_EQ(digestOf(DocumentToTempFile(connection, SqlTexts::documentContent(pk), QStringLiteral("data"), pk)),
              digest);
    EXPECT_EQ(digestOf(manager->GetDocumentFile(guid)), digest);
}

TEST_F(LargeDocumentTest, UnwritableTempFileIsNeverReportedAsWritten) {
    const auto [file, digest] = makeFile(QStringLiteral("acta.odt"), 2 * Chunk + 5);
    const QString guid = manager->StoreDocument(QStringLiteral("Acta"), QString(), QString(), QString(), file);
    // A folder where the temporary file should go makes its final rename fail.
    const QString blocked = ComponentFile::tempFolder() + QStringLiteral("/temp.odt");
    QFile::remove(blocked);
    ASSERT_TRUE(QDir().mkpath(blocked));
    const QString result = DocumentToTempFile(connection, SqlTexts::documentContent(pkOf(guid)), QStringLiteral("data"),
                                              pkOf(guid));
    QDir(blocked).removeRecursively();
    EXPECT_EQ(result, QString());
    const QStringList leftovers =
        QDir(ComponentFile::tempFolder()).entryList({QStringLiteral("temp.odt*")}, QDir::Files);
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(QLatin1Char(' ')).toStdString();
    (void)digest;
}

}  // namespace
