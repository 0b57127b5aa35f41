#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace dorvanel {
class DocumentList;
}

namespace dorvanel::cli {

struct DocumentRow {
    qint64 pk = 0;
    QString name;
    QString description;
    QString type;
    QString timestamp;
    QString created;
    QString keywords;
    QString guid;
    bool sis = false;
};

// The rows of a document list; withSis when they come from links, which carry the flag.
struct DocumentListing {
    QList<DocumentRow> rows;
    bool withSis = false;
};

DocumentListing listingOf(const DocumentList& list, bool withSis);

// An aligned table with a header line, one line per document.
QString documentTable(const DocumentListing& listing);
// A JSON array with one object per document.
QByteArray documentJson(const DocumentListing& listing);

}  // namespace dorvanel::cli
