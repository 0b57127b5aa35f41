#include "repository/Utf8Texts.h"

#include <QByteArray>
#include <QString>

namespace dorvanel {

namespace {

// Cheaper than asking whether it is valid UTF-8, and true of most texts.
bool isAscii(QByteArrayView text) {
    uchar bits = 0;
    for (const char c : text) bits |= uchar(c);
    return bits < 0x80;
}

// The pieces joined, with faulty UTF-8 replaced.
QByteArray repaired(std::initializer_list<QByteArrayView> pieces) {
    QByteArray joined;
    for (const QByteArrayView piece : pieces) joined += piece;
    return QString::fromUtf8(joined).toUtf8();
}

}  // namespace

QByteArrayView Utf8Texts::add(std::initializer_list<QByteArrayView> pieces) {
    for (const QByteArrayView piece : pieces)
        if (!isAscii(piece) && !piece.isValidUtf8()) return blocks_.add(repaired(pieces));
    return blocks_.add(pieces);
}

}  // namespace dorvanel
