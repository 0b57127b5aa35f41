#pragma once

#include "dorvanel_export.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dorvanel {

class Connection;

/// What identifies a stored content: its SHA-256 digest, as 64 lowercase hexadecimal digits,
/// and its size in bytes.
struct ContentDigest {
    /// The content's bytes.
    qint64 size = 0;
    /// The SHA-256 digest, in hexadecimal.
    QByteArray sha256;

    /// The same size and digest.
    bool operator==(const ContentDigest&) const = default;
};

/// @file
/// The digests of the documents' contents, kept in the table DocDigests (Sys_GUID, Size,
/// Sha256) beside Docs. Storing a document through the component records its content's digest,
/// taken while the content streams in; a row written with plain SQL has none until
/// recordContentDigest gives it one. Deleting a document deletes its digest.

/// Records the digest of the document's content, replacing the one it had.
DORVANEL_EXPORT void recordContentDigest(Connection& connection, const QString& guid, const ContentDigest& digest);
/// The digest recorded for the document, if it has one.
DORVANEL_EXPORT std::optional<ContentDigest> recordedContentDigest(Connection& connection, const QString& guid);
/// Reads the document's content a mebibyte at a time and digests it; nothing when the document
/// holds no content (an outside one, or no such document).
DORVANEL_EXPORT std::optional<ContentDigest> computeContentDigest(Connection& connection, const QString& guid);
/// The digest of a file, read a mebibyte at a time. Raises Error when it cannot be read.
DORVANEL_EXPORT ContentDigest fileContentDigest(const QString& path);

/// The keys of the documents whose content can be checked, oldest first: those that hold content,
/// and those with a digest recorded whose content has since gone.
DORVANEL_EXPORT QStringList documentsToVerify(Connection& connection);
/// The keys of the documents that hold content but have no digest recorded, oldest first.
DORVANEL_EXPORT QStringList documentsWithoutDigest(Connection& connection);
/// The keys of the documents whose recorded digest is this one, oldest first.
DORVANEL_EXPORT QStringList documentsWithDigest(Connection& connection, const ContentDigest& digest);
/// The keys of the other documents whose recorded digest is the one recorded for guid, oldest
/// first; none when guid has no digest recorded.
DORVANEL_EXPORT QStringList documentsWithContentOf(Connection& connection, const QString& guid);

/// Documents that hold the same content, oldest first.
struct DuplicateContent {
    /// The content they share.
    ContentDigest digest;
    /// Their keys (Sys_GUID).
    QStringList guids;

    /// What the copies beyond the first take.
    qint64 spareBytes() const { return digest.size * (guids.size() - 1); }
};
/// Every content recorded for more than one document, the largest first.
DORVANEL_EXPORT QList<DuplicateContent> duplicateContents(Connection& connection);

}  // namespace dorvanel
