#pragma once

#include "platform/ExtractionProtocol.h"

namespace dorvanel::extractor {

// The parsers' answer to one request: the miniature as a BMP, the text in UTF-8 within the
// request's cap, and the parsers' note.
extraction::Answer answerFor(const extraction::RequestHead& request, const QByteArray& bytes);

}  // namespace dorvanel::extractor
