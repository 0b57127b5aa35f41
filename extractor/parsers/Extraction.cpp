#include "parsers/Extraction.h"

namespace dorvanel::extractor {

Extraction extract(const QByteArray&, const QString&, const Wanted&) { return {}; }

}  // namespace dorvanel::extractor
