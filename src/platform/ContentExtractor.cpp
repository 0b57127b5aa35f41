#include "platform/ContentExtractor.h"

#include <QIODevice>

namespace dorvanel {

struct ContentExtractor::Private {};

ContentExtractor::ContentExtractor() : d_(std::make_unique<Private>()) {}
ContentExtractor::~ContentExtractor() = default;

ExtractedContent ContentExtractor::extract(QIODevice&, qint64, const QString&, const ExtractionRequest&) { return {}; }

ExtractedContent ContentExtractor::extractFile(const QString&, const QString&, const ExtractionRequest&) { return {}; }

}  // namespace dorvanel
