#pragma once

#include "repository/IsoTimes.h"
#include "repository/ListDocuments.h"
#include "repository/Utf8Texts.h"

namespace dorvanel {

struct DocumentListing::Private {
    bool throughLinks = false;
    QList<ListedDocument> documents;
    Utf8Texts texts;
    IsoTimes times;

    // A copy of document at the end, its texts in texts and its times with their offset.
    ListedDocument& append(const ListedDocument& document);
};

}  // namespace dorvanel
