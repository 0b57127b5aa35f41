#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace dorvanel::extractor {

// The bytes as text when they are valid UTF-8 free of control characters but for tabs, line and
// page breaks and escapes (coloured logs); none otherwise. Binary data that happens to be valid
// UTF-8 (runs of small bytes) is then not taken for text.
std::optional<QString> strictUtf8(const QByteArray& bytes);

// A plain text file's text: UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise (every byte
// is a Latin-1 character, so nothing is lost and nothing fails).
QString plainText(const QByteArray& bytes);

}  // namespace dorvanel::extractor
