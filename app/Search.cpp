#include "Search.h"

#include "DocumentListing.h"
#include "IsoTimes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace dorvanel::cli {

namespace {

DocumentListing listingOfFound(const QList<FoundDocument>& found) {
    DocumentListing listing;
    IsoTimes times;
    for (const FoundDocument& document : found) {
        DocumentRow row;
        const auto put = [&](qsizetype place, const QString& text) {
            row.texts[place] = listing.texts.add(text.toUtf8());
        };
        put(0, document.name);
        put(DocumentList::DescriptionSubItem, document.description);
        put(DocumentList::TypeDataSubItem, document.type);
        row.texts[DocumentList::TimeStampSubItem] = times.addWithOffset(document.timestamp.toUtf8(), listing.texts);
        row.texts[DocumentList::CreatedSubItem] = times.addWithOffset(document.created.toUtf8(), listing.texts);
        put(DocumentList::WorksSubItem, document.keywords);
        put(DocumentList::KeySubItem, QString::number(document.pk));
        put(DocumentList::GuidSubItem, document.guid);
        row.pk = document.pk;
        row.size = document.size;
        row.outside = document.outside;
        listing.rows << row;
    }
    return listing;
}

}  // namespace

QString foundTable(const QList<FoundDocument>& found) {
    return QString::fromUtf8(written(listingOfFound(found), writeTable));
}

// The list's objects, each with its rank added.
QByteArray foundJson(const QList<FoundDocument>& found) {
    QJsonArray rows = QJsonDocument::fromJson(written(listingOfFound(found), writeJson)).array();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QJsonObject row = rows[i].toObject();
        row.insert(QStringLiteral("rank"), found[i].rank);
        rows[i] = row;
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Indented);
}

}  // namespace dorvanel::cli
