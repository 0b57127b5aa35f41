#include "parsers/PlainText.h"

#include <QStringDecoder>
#include <algorithm>
#include <string_view>

namespace dorvanel::extractor {

namespace {

std::optional<QString> validUtf8(const QByteArray& bytes) {
    // Stateless: a sequence cut short at the end is an error too, not a state kept for more.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

bool isControl(char byte) {
    static constexpr std::string_view allowed = "\t\n\v\f\r\x1b";
    return uchar(byte) < 0x20 && allowed.find(byte) == std::string_view::npos;
}

}  // namespace

std::optional<QString> strictUtf8(const QByteArray& bytes) {
    if (std::any_of(bytes.begin(), bytes.end(), isControl)) return std::nullopt;
    return validUtf8(bytes);
}

QString plainText(const QByteArray& bytes) {
    if (std::optional<QString> text = validUtf8(bytes)) return *std::move(text);
    return QString::fromLatin1(bytes);
}

}  // namespace dorvanel::extractor
