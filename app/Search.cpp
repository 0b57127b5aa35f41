#include "Search.h"

#include "DocumentListing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace dorvanel::cli {

namespace {

DocumentListing listingOfFound(const QList<FoundDocument>& found) {
    DocumentListing listing;
    for (const FoundDocument& document : found)
        listing.rows << DocumentRow{document.pk,        document.name,    document.description, document.type,
                                    document.timestamp, document.created, document.keywords,    document.guid};
    return listing;
}

}  // namespace

QString foundTable(const QList<FoundDocument>& found) { return documentTable(listingOfFound(found)); }

// The list's objects, each with its rank added.
QByteArray foundJson(const QList<FoundDocument>& found) {
    QJsonArray rows = QJsonDocument::fromJson(documentJson(listingOfFound(found))).array();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QJsonObject row = rows[i].toObject();
        row.insert(QStringLiteral("rank"), found[i].rank);
        rows[i] = row;
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Indented);
}

}  // namespace dorvanel::cli
