#pragma once

#include <Dorvanel/ListDocuments.h>

#include <QByteArray>
#include <functional>
#include <string_view>

namespace dorvanel::cli {

// Takes formatted text a piece at a time (some 64 KiB), so that a long list never sits in
// memory whole a second time.
using TextWriter = std::function<void(std::string_view)>;

// An aligned table with a header line, one line per document, as UTF-8. The column Sis, and the
// JSON field sis, come only with documents found through links.
void writeTable(const DocumentListing& listing, const TextWriter& write);
// A JSON array with one object per document, one a line, as UTF-8.
void writeJson(const DocumentListing& listing, const TextWriter& write);
// What writeTable or writeJson writes, whole.
QByteArray written(const DocumentListing& listing, void (*write)(const DocumentListing&, const TextWriter&));

}  // namespace dorvanel::cli
