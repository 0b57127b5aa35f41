#pragma once

#include <QByteArray>

namespace dorvanel::extractor {

// Whether the PDF's page tree, as its plainly written objects give it, holds a node among its own
// descendants. Qt PDF 6.4 never finishes loading such a file, so it is refused before loading.
// Objects packed into compressed object streams are not seen here: the extraction program's time
// limit is what ends a loop hidden there.
bool pageTreeLoops(const QByteArray& pdf);

}  // namespace dorvanel::extractor
