#include "repository/DocumentListing_p.h"

namespace dorvanel {

ListedDocument& DocumentListing::Private::append(const ListedDocument& document) {
    ListedDocument& copy = documents.emplace_back(document);
    for (QByteArrayView ListedDocument::*text : {&ListedDocument::guid, &ListedDocument::name, &ListedDocument::type,
                                                 &ListedDocument::description, &ListedDocument::keywords})
        copy.*text = texts.add(document.*text);
    copy.created = times.addWithOffset(document.created, texts);
    copy.timestamp = times.addWithOffset(document.timestamp, texts);
    return copy;
}

DocumentListing::DocumentListing(bool throughLinks) : d(std::make_unique<Private>()) { d->throughLinks = throughLinks; }

DocumentListing::~DocumentListing() = default;
DocumentListing::DocumentListing(DocumentListing&&) noexcept = default;
DocumentListing& DocumentListing::operator=(DocumentListing&&) noexcept = default;

const QList<ListedDocument>& DocumentListing::documents() const& { return d->documents; }

bool DocumentListing::throughLinks() const { return d->throughLinks; }

void DocumentListing::add(const ListedDocument& document) { d->append(document); }

void DocumentListing::removeIf(const std::function<bool(const ListedDocument&)>& unwanted) {
    d->documents.removeIf(unwanted);
}

}  // namespace dorvanel
