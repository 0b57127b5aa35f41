#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/DocumentMiniature.h"
#include "support/RepositoryTest.h"

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

using DocumentMiniatureTest = RepositoryTest;

// A miniature set after the store is the one the row then holds, bound whole (a byte the SQL
// text would end at included); an empty one counts as none. An outside document keeps none.
TEST_F(DocumentMiniatureTest, SetsCountsAndListsTheMiniaturesOfDocumentsHoldingContent) {
    const QString first = storeFile(QStringLiteral("Primero"), QStringLiteral("pdf"), "uno");
    const QString second = storeFile(QStringLiteral("Segundo"), QStringLiteral("pdf"), "dos", "BMya");
    const QString third = storeFile(QStringLiteral("Tercero"), QStringLiteral("pdf"), "tres");
    const QString outside = storeUrl(QStringLiteral("Enlace"), QStringLiteral("https://ejemplo.es/a.pdf"));
    EXPECT_EQ(documentsWithoutMiniature(*connection), (QStringList{first, third}));

    const QByteArray bitmap("BM\0'x", 5);
    setDocumentMiniature(*connection, third, bitmap);
    setDocumentMiniature(*connection, second, QByteArray(""));
    const auto row = connection->Execute(QStringLiteral("SELECT MiniData FROM Docs WHERE Sys_GUID = ?"), {third});
    EXPECT_EQ(row->value(0).toByteArray(), bitmap);
    EXPECT_EQ(documentsWithoutMiniature(*connection), (QStringList{first, second}));
    const MiniatureCounts counts = countMiniatures(*connection);
    EXPECT_EQ(counts.with, 1);
    EXPECT_EQ(counts.without, 2);

    for (const QString& refused : {outside, Key(QStringLiteral("Ninguno"))}) {
        try {
            setDocumentMiniature(*connection, refused, bitmap);
            ADD_FAILURE() << "no document holding content: " << refused.toStdString();
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), Error::NoCurrentRecord);
        }
    }
}

}  // namespace
