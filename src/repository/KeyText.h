#pragma once

#include <QByteArrayView>

#include <charconv>
#include <optional>

namespace dorvanel {

// A document's numeric key (Sys_PK) from its text as the database gives it: decimal digits
// and nothing else. Any other text is no key.
inline std::optional<qint32> keyFromText(QByteArrayView text) {
    qint32 key = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, key);
    if (text.isEmpty() || failure != std::errc() || stop != end) return std::nullopt;
    return key;
}

}  // namespace dorvanel
