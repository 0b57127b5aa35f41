#include "platform/BlobStreaming.h"
#include "repository/ContentDigests.h"
#include "support/RepositoryTest.h"

#include <QCryptographicHash>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class ContentDigestTest : public RepositoryTest {
protected:
    QString store(const QString& name, const QByteArray& content) {
        return storeFile(name, QStringLiteral("bin"), content);
    }
};

// Small contents are bound whole and large ones streamed: both get the digest of their bytes,
// never that of the miniature stored with them.
TEST_F(ContentDigestTest, StoringRecordsTheDigestOfWhatStreamedIn) {
    QByteArray large(3 * BlobStreaming::ChunkSize + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i) large[i] = char(i * 7 + i / 4099);
    const struct {
        QByteArray content, sha256, miniature;
    } cases[] = {
        {QByteArray("abc"), QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"), {}},
        {large, QCryptographicHash::hash(large, QCryptographicHash::Sha256).toHex(), {}},
        {QByteArray("abc"), QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"),
         QByteArray("BMminiatura")},
        {large, QCryptographicHash::hash(large, QCryptographicHash::Sha256).toHex(),
         QByteArray(2 * BlobStreaming::ChunkSize, 'm')},
    };
    for (const auto& [content, sha256, miniature] : cases) {
        const QString guid = storeFile(QStringLiteral("Documento"), QStringLiteral("bin"), content, miniature);
        const ContentDigest expected{content.size(), sha256};
        EXPECT_EQ(recordedContentDigest(*connection, guid), expected) << content.size();
        EXPECT_EQ(computeContentDigest(*connection, guid), expected) << content.size();
        EXPECT_EQ(fileContentDigest(writeFile(QStringLiteral("copia.bin"), content)), expected);
    }
}

// Rows waiting for a backfill and the grouping of duplicates are checked through the command line.
TEST_F(ContentDigestTest, DigestsGoWithTheirDocuments) {
    const QString stored = store(QStringLiteral("Guardado"), QByteArray("igual"));
    const QString copy = store(QStringLiteral("Copia"), QByteArray("igual"));
    const QString third = store(QStringLiteral("Tercera"), QByteArray("igual"));
    const QList<DuplicateContent> groups = duplicateContents(*connection);
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(documentsWithDigest(*connection, groups[0].digest), (QStringList{stored, copy, third}));

    EXPECT_TRUE(manager->RemoveDocument(copy));
    connection->Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {third});
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocDigests")), 1);
    EXPECT_TRUE(duplicateContents(*connection).isEmpty());
}

}  // namespace
