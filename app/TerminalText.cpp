#include "TerminalText.h"

namespace dorvanel::cli {

namespace {

const char Hex[] = "0123456789abcdef";

bool isC0OrDelete(uchar byte) { return byte < 0x20 || byte == 0x7F; }
// U+0080 to U+009F, which UTF-8 writes as 0xC2 followed by 0x80 to 0x9F.
bool isC1At(QByteArrayView utf8, qsizetype at) {
    return uchar(utf8[at]) == 0xC2 && at + 1 < utf8.size() && uchar(utf8[at + 1]) >= 0x80 &&
           uchar(utf8[at + 1]) <= 0x9F;
}
// A continuation byte adds no character.
bool startsCharacter(uchar byte) { return (byte & 0xC0) != 0x80; }

qsizetype escapedC0Length(uchar byte) { return byte == '\n' || byte == '\r' || byte == '\t' ? 2 : 4; }
constexpr qsizetype EscapedC1Length = 6;

void appendEscapedC0(std::string& out, uchar byte) {
    switch (byte) {
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    default:
        out += "\\x";
        out += Hex[byte >> 4];
        out += Hex[byte & 0xF];
    }
}

void appendEscapedC1(std::string& out, uchar second) {
    out += "\\u00";
    out += Hex[second >> 4];
    out += Hex[second & 0xF];
}

}  // namespace

void appendTerminalText(std::string& out, QByteArrayView utf8) {
    qsizetype plainStart = 0;
    const auto appendPlain = [&](qsizetype end) {
        out.append(utf8.data() + plainStart, std::size_t(end - plainStart));
    };
    for (qsizetype at = 0; at < utf8.size(); ++at) {
        if (const uchar byte = uchar(utf8[at]); isC0OrDelete(byte)) {
            appendPlain(at);
            appendEscapedC0(out, byte);
            plainStart = at + 1;
        } else if (isC1At(utf8, at)) {
            appendPlain(at);
            appendEscapedC1(out, uchar(utf8[++at]));
            plainStart = at + 1;
        }
    }
    appendPlain(utf8.size());
}

qsizetype terminalWidth(QByteArrayView utf8) {
    qsizetype width = 0;
    for (qsizetype at = 0; at < utf8.size(); ++at) {
        if (const uchar byte = uchar(utf8[at]); isC0OrDelete(byte)) {
            width += escapedC0Length(byte);
        } else if (isC1At(utf8, at)) {
            width += EscapedC1Length;
            ++at;
        } else {
            width += startsCharacter(byte);
        }
    }
    return width;
}

QString terminalText(const QString& text) {
    std::string shown;
    const QByteArray utf8 = text.toUtf8();
    appendTerminalText(shown, utf8);
    return QString::fromStdString(shown);
}

}  // namespace dorvanel::cli
