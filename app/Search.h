#pragma once

#include <Dorvanel/FindDocumentsByWords.h>

#include <QByteArray>
#include <QList>
#include <QString>

namespace dorvanel::cli {

// The documents found, best first: as the list's table (with a line of snippet after a document
// found only through its content's text), or as its JSON with each one's rank, "matched"
// ("fields" or "content") and "snippet" (null for "fields").
QString foundTable(const QList<FoundDocument>& found);
QByteArray foundJson(const QList<FoundDocument>& found);

}  // namespace dorvanel::cli
