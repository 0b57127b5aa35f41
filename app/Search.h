#pragma once

#include <Dorvanel/FindDocumentsByWords.h>

#include <QByteArray>
#include <QList>
#include <QString>

namespace dorvanel::cli {

// The documents found, best first: as the list's table, or as its JSON with each one's rank.
QString foundTable(const QList<FoundDocument>& found);
QByteArray foundJson(const QList<FoundDocument>& found);

}  // namespace dorvanel::cli
