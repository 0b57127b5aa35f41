#pragma once

#include <QString>
#include <ostream>

// GoogleTest shows a QString that fails a check as its text, not as its bytes. Found by
// argument-dependent lookup, so it lives where QString does.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
