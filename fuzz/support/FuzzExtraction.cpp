#include "support/FuzzExtraction.h"

#include "parsers/Extraction.h"
#include "support/FuzzInput.h"

namespace dorvanel::fuzz {

void checkExtraction(const QByteArray& bytes, const QString& typeCode) {
    startQt();
    // A small cap, so that the cut is reached often.
    const extractor::Wanted wanted{.miniature = true, .text = true, .textCap = 256};
    const extractor::Extraction result = extractor::extract(bytes, typeCode, wanted);
    const QImage& miniature = result.miniature;
    if (!miniature.isNull() && (miniature.width() != 120 || miniature.height() < 1 || miniature.height() > 2400))
        fail("a miniature of the wrong size", QStringLiteral("%1 x %2").arg(miniature.width()).arg(miniature.height()));
    if (result.text.size() > wanted.textCap) fail("a text beyond the cap", QString::number(result.text.size()));
    if (!result.text.isEmpty() && result.text.back().isHighSurrogate())
        fail("a text ending in half a pair", result.text);
}

}  // namespace dorvanel::fuzz
