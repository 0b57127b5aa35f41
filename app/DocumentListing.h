#pragma once

#include "TextStore.h"

#include <Dorvanel/DocumentList.h>

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace dorvanel::cli {

struct DocumentRow {
    // The texts the component's list gives, numbered as its sub-items: 0 is the name, then
    // DocumentList::DescriptionSubItem and on. The two times are ISO 8601 with their offset.
    std::array<QByteArrayView, DocumentList::SisSubItem + 1> texts;
    qint64 pk = 0;
    bool sis = false;
    // What the host's own statement adds.
    std::optional<qint64> size;  // the content's bytes; none for an outside reference
    bool outside = false;

    QByteArrayView text(DocumentList::SubItemNumber subItem) const { return texts[subItem]; }
    QString guid() const { return QString::fromUtf8(text(DocumentList::GuidSubItem)); }
};

// The rows of a document list, whose texts lie in its store; withSis when they come from
// links, which carry the flag.
struct DocumentListing {
    TextStore texts;
    QList<DocumentRow> rows;
    bool withSis = false;
};

// Takes formatted text a piece at a time (some 64 KiB), so that a long list never sits in
// memory whole a second time.
using TextWriter = std::function<void(std::string_view)>;

// An aligned table with a header line, one line per document, as UTF-8.
void writeTable(const DocumentListing& listing, const TextWriter& write);
// A JSON array with one object per document, one a line, as UTF-8.
void writeJson(const DocumentListing& listing, const TextWriter& write);
// What writeTable or writeJson writes, whole.
QByteArray written(const DocumentListing& listing, void (*write)(const DocumentListing&, const TextWriter&));

}  // namespace dorvanel::cli
