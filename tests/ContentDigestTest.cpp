#include "platform/BlobStreaming.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
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

    QByteArray storedContent(const QString& guid) {
        return connection->Execute(QStringLiteral("SELECT Data FROM Docs WHERE Sys_GUID = ?"), {guid})
            ->Fields(0)
            .toByteArray();
    }

    // Changes one byte of the stored content with plain SQL, as damage would.
    void flipByte(const QString& guid, qsizetype at) {
        QByteArray content = storedContent(guid);
        content[at] = char(content[at] ^ 0x01);
        connection->Execute(QStringLiteral("UPDATE Docs SET Data = ? WHERE Sys_GUID = ?"), {content, guid});
    }
};

// Small contents are bound whole and large ones streamed: both get the digest of their bytes.
TEST_F(ContentDigestTest, StoringRecordsTheDigestOfWhatStreamedIn) {
    QByteArray large(3 * BlobStreaming::ChunkSize + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i) large[i] = char(i * 7 + i / 4099);
    const std::pair<QByteArray, QByteArray> cases[] = {
        {QByteArray("abc"), QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad")},
        {QByteArray(""), QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855")},
        {large, QCryptographicHash::hash(large, QCryptographicHash::Sha256).toHex()},
    };
    for (const auto& [content, sha256] : cases) {
        const QString guid = store(QStringLiteral("Documento"), content);
        const ContentDigest expected{content.size(), sha256};
        EXPECT_EQ(RecordedContentDigest(*connection, guid), expected) << content.size();
        EXPECT_EQ(ComputeContentDigest(*connection, guid), expected) << content.size();
        EXPECT_EQ(FileContentDigest(writeFile(QStringLiteral("copia.bin"), content)), expected);
    }
}

TEST_F(ContentDigestTest, AFlippedByteShowsInThatDocumentAlone) {
    const QString first = store(QStringLiteral("Uno"), QByteArray(5000, 'a'));
    const QString second = store(QStringLiteral("Dos"), QByteArray(5000, 'b'));
    flipByte(second, 4321);
    EXPECT_EQ(ComputeContentDigest(*connection, first), RecordedContentDigest(*connection, first));
    EXPECT_NE(ComputeContentDigest(*connection, second), RecordedContentDigest(*connection, second));
    EXPECT_EQ(ComputeContentDigest(*connection, second)->size, 5000);
}

TEST_F(ContentDigestTest, PlainRowsWaitForABackfillAndDigestsGoWithTheirDocuments) {
    const QString stored = store(QStringLiteral("Guardado"), QByteArray("igual"));
    const QString copy = store(QStringLiteral("Copia"), QByteArray("igual"));
    storeUrl(QStringLiteral("Fuera"), QStringLiteral("https://example.org/fuera.pdf"));
    const QString plain = Key(QStringLiteral("PLANO"));
    connection->Execute(QStringLiteral("INSERT INTO Docs (Sys_GUID, Name, Data) VALUES (?, 'Plano', ?)"),
                        {plain, QByteArray("igual")});

    EXPECT_EQ(DocumentsWithContent(*connection), (QStringList{stored, copy, plain}));
    EXPECT_EQ(DocumentsWithContent(*connection, true), QStringList{plain});
    EXPECT_FALSE(RecordedContentDigest(*connection, plain));
    RecordContentDigest(*connection, plain, *ComputeContentDigest(*connection, plain));
    EXPECT_TRUE(DocumentsWithContent(*connection, true).isEmpty());

    const QList<DuplicateContent> groups = DuplicateContents(*connection);
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].guids, (QStringList{stored, copy, plain}));
    EXPECT_EQ(groups[0].spareBytes(), 10);
    EXPECT_EQ(DocumentsWithDigest(*connection, groups[0].digest), groups[0].guids);

    EXPECT_TRUE(manager->RemoveDocument(copy));
    connection->Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {plain});
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocDigests")), 1);
    EXPECT_TRUE(DuplicateContents(*connection).isEmpty());
}

}  // namespace
