#pragma once

#include <QString>

namespace dorvanel {

/// Documents (their Sys_GUID) and the host's parent records are named by keys of exactly this
/// many characters; links and parent lists refuse any other length.
inline constexpr qsizetype KeyLength = 32;

/// Whether key has that length.
inline bool hasKeyLength(const QString& key) { return key.length() == KeyLength; }

}  // namespace dorvanel
