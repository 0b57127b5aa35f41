#pragma once

#include "DocumentListing.h"

#include <QString>
#include <QStringList>

namespace dorvanel {
class Connection;
}

namespace dorvanel::cli {

struct ListQuery {
    QStringList parents;
    QString type;
    bool noSys = false;
    bool everyLink = false;

    bool listsLinks() const { return !parents.isEmpty() || everyLink; }
};

// The documents the query names, each once, in the order first found. The component's list
// (FillDocumentList, one statement for each parent) gives them, and statements of the host's
// own, each for a group of parents, find them again with their details; both read the same
// snapshot of the database. Raises Error when one of the host's statements is refused, or when
// the two disagree on a document, as when the component's list failed (it reports no failure).
DocumentListing readListing(Connection& connection, const ListQuery& query);

}  // namespace dorvanel::cli
