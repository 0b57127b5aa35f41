#pragma once

namespace dorvanel::cli {

// The help text: every command with its fixed spelling.
extern const char* const UsageText;

}  // namespace dorvanel::cli
