#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "dorvanel_export.h"

namespace dorvanel {

class Connection;

/// Which documents to list: those linked to any of the parents, or with none every document
/// (or, with linkedOnly, every document that has a link). The type and the link flag filter
/// the documents of every parent alike.
struct ListingQuery {
    QStringList parents = {};  ///< any number: the statements are split to fit the engine
    QString type = {};         ///< empty: any type
    bool noSys = false;        ///< with parents: through links that are not the system's
    bool linkedOnly = false;   ///< without parents: only documents that have some link
    /// Every statement in one read-only transaction, so that a long list reads one state of the
    /// database (Connection::Access::ReadOnly).
    bool readOnlySnapshot = false;

    /// Whether the documents are found through their links, which carry the flag.
    bool throughLinks() const { return !parents.isEmpty() || linkedOnly; }
};

/// A listed document. Its texts are UTF-8 (bytes that are not are replaced) and live as long as
/// the listing that holds them.
struct ListedDocument {
    qint64 pk = 0;               ///< Sys_PK
    QByteArrayView guid;         ///< Sys_GUID
    QByteArrayView name;         ///< Name
    QByteArrayView type;         ///< TypeData: the type code
    QByteArrayView description;  ///< Description
    QByteArrayView keywords;     ///< Works: the keywords
    /// ISO 8601 with the offset from UTC ("2026-12-06T02:58:56.257+01:00"); empty when not stored.
    /// SQLite keeps the local time of the machine that wrote it, read as local time here; on
    /// PostgreSQL the server gives the offset of its session's time zone.
    QByteArrayView created;
    QByteArrayView timestamp;    ///< Sys_TimeStamp, as created is given
    std::optional<qint64> size;  ///< the content's bytes, read without the content; none when outside
    bool outside = false;        ///< an outside reference (a URL or a path) rather than a file
    bool sis = false;            ///< found through a link: whether that link is the system's
};

/// Listed documents, each once, with the texts they point to.
class DORVANEL_EXPORT DocumentListing {
public:
    /// An empty listing, of documents found through links or not.
    explicit DocumentListing(bool throughLinks = false);
    ~DocumentListing();
    /// Moved, with the texts its documents point to.
    ///@{
    DocumentListing(DocumentListing&&) noexcept;
    DocumentListing& operator=(DocumentListing&&) noexcept;
    ///@}
    DocumentListing(const DocumentListing&) = delete;
    DocumentListing& operator=(const DocumentListing&) = delete;

    /// The documents, in their order. They point into the listing, so a listing about to end
    /// (a temporary) gives none: keep it in a variable first.
    const QList<ListedDocument>& documents() const&;
    const QList<ListedDocument>& documents() && = delete;
    /// Whether the documents were found through links, and so sis says something.
    bool throughLinks() const;

    /// Adds a copy of document found otherwise (as by findDocumentsByWords): its texts copied in,
    /// and its times, as stored, given their offset as listDocuments gives them.
    void add(const ListedDocument& document);
    /// Leaves out the documents unwanted names, keeping the others in their order.
    void removeIf(const std::function<bool(const ListedDocument&)>& unwanted);

private:
    friend class ListingReader;
    struct Private;
    std::unique_ptr<Private> d;
};

/// The documents the query names, each once, in the order first found: the parents in the order
/// given, each parent's documents in the order the engine gives them. Raises Error when a
/// statement is refused.
DORVANEL_EXPORT DocumentListing listDocuments(Connection& connection, const ListingQuery& query);

}  // namespace dorvanel
