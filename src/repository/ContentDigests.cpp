#include "repository/ContentDigests.h"

#include "platform/BlobStreaming.h"
#include "platform/Connection.h"
#include "platform/FilePieces.h"
#include "platform/Recordset.h"
#include "repository/ContentHolders.h"

#include <QFile>

namespace dorvanel {

namespace {

ContentDigest digestOf(const BlobStreaming::Digester& digester) { return {digester.size(), digester.sha256()}; }

ContentDigest digestInRow(const Recordset& row) {
    return {row.value(QStringLiteral("Size")).toLongLong(), row.value(QStringLiteral("Sha256")).toByteArray()};
}

QStringList guidsOf(const std::shared_ptr<Recordset>& rows) {
    QStringList guids;
    for (; !rows->Eof(); rows->MoveNext()) guids << rows->value(QStringLiteral("Sys_GUID")).toString();
    return guids;
}

// The keys of the documents whose recorded digest meets the condition on DocDigests g, oldest
// first.
QStringList digestHolders(Connection& connection, const QString& condition, const QVariantList& values) {
    return guidsOf(
        connection.Execute(QStringLiteral(
                               "SELECT g.Sys_GUID FROM DocDigests g JOIN Docs d ON d.Sys_GUID = g.Sys_GUID WHERE %1 "
                               "ORDER BY d.Sys_PK")
                               .arg(condition),
                           values));
}

}  // namespace

void recordContentDigest(Connection& connection, const QString& guid, const ContentDigest& digest) {
    connection.Execute(QStringLiteral("INSERT INTO DocDigests (Sys_GUID, Size, Sha256) VALUES (?, ?, ?) "
                                      "ON CONFLICT (Sys_GUID) DO UPDATE SET Size = excluded.Size, "
                                      "Sha256 = excluded.Sha256"),
                       {guid, digest.size, QString::fromLatin1(digest.sha256)});
}

std::optional<ContentDigest> recordedContentDigest(Connection& connection, const QString& guid) {
    const auto row = connection.Execute(QStringLiteral("SELECT Size, Sha256 FROM DocDigests WHERE Sys_GUID = ?"),
                                        {guid});
    if (row->Eof()) return std::nullopt;
    return digestInRow(*row);
}

std::optional<ContentDigest> computeContentDigest(Connection& connection, const QString& guid) {
    BlobStreaming::Digester digester;
    const bool found = BlobStreaming::readPieces(connection, QStringLiteral("Docs"), QStringLiteral("Data"),
                                                 QStringLiteral("Sys_GUID"), guid,
                                                 [&](const char* bytes, qint64 count) { digester.add(bytes, count); });
    if (!found) return std::nullopt;
    return digestOf(digester);
}

ContentDigest fileContentDigest(const QString& path) {
    QFile file(path);
    openToRead(file);
    BlobStreaming::Digester digester;
    readFilePieces(file, [&](const char* bytes, qint64 count) {
        digester.add(bytes, count);
        return true;
    });
    return digestOf(digester);
}

QStringList documentsToVerify(Connection& connection) {
    return guidsOf(connection.Execute(
        QStringLiteral("SELECT Sys_GUID FROM Docs d WHERE Data IS NOT NULL "
                       "OR EXISTS (SELECT 1 FROM DocDigests g WHERE g.Sys_GUID = d.Sys_GUID) ORDER BY Sys_PK")));
}

QStringList documentsWithoutDigest(Connection& connection) {
    return documentsHoldingContent(connection,
                                   QStringLiteral(
                                       "NOT EXISTS (SELECT 1 FROM DocDigests g WHERE g.Sys_GUID = d.Sys_GUID)"));
}

QStringList documentsWithDigest(Connection& connection, const ContentDigest& digest) {
    return digestHolders(connection, QStringLiteral("g.Sha256 = ? AND g.Size = ?"),
                         {QString::fromLatin1(digest.sha256), digest.size});
}

QStringList documentsWithContentOf(Connection& connection, const QString& guid) {
    return digestHolders(connection,
                         QStringLiteral("(g.Sha256, g.Size) = (SELECT Sha256, Size FROM DocDigests WHERE Sys_GUID = ?) "
                                        "AND g.Sys_GUID <> ?"),
                         {guid, guid});
}

QList<DuplicateContent> duplicateContents(Connection& connection) {
    const auto rows = connection.Execute(QStringLiteral(
        "SELECT g.Sys_GUID, g.Size, g.Sha256 FROM DocDigests g JOIN Docs d ON d.Sys_GUID = g.Sys_GUID "
        "WHERE (g.Sha256, g.Size) IN (SELECT Sha256, Size FROM DocDigests GROUP BY Sha256, Size HAVING count(*) > 1) "
        "ORDER BY g.Size DESC, g.Sha256, d.Sys_PK"));
    QList<DuplicateContent> groups;
    for (; !rows->Eof(); rows->MoveNext()) {
        const ContentDigest digest = digestInRow(*rows);
        if (groups.isEmpty() || !(groups.last().digest == digest)) groups.append({digest, {}});
        groups.last().guids << rows->value(QStringLiteral("Sys_GUID")).toString();
    }
    return groups;
}

}  // namespace dorvanel
