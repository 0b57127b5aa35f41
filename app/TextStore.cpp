#include "TextStore.h"

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace dorvanel::cli {

namespace {

constexpr qsizetype FirstBlock = 64 * 1024;
constexpr qsizetype LargestBlock = 4 * 1024 * 1024;

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

QByteArrayView TextStore::add(std::initializer_list<QByteArrayView> pieces) {
    qsizetype size = 0;
    for (const QByteArrayView piece : pieces) {
        if (!isAscii(piece) && !piece.isValidUtf8()) return add(repaired(pieces));
        size += piece.size();
    }
    Block& block = blockWithRoom(size);
    char* const start = block.bytes.get() + block.used;
    char* end = start;
    for (const QByteArrayView piece : pieces) end = std::copy(piece.begin(), piece.end(), end);
    block.used += size;
    return QByteArrayView(start, size);
}

// A new block, twice as large as the last up to LargestBlock, when the last has no room.
TextStore::Block& TextStore::blockWithRoom(qsizetype bytes) {
    if (blocks_.empty() || blocks_.back().used + bytes > blocks_.back().capacity) {
        const qsizetype grown = blocks_.empty() ? FirstBlock : std::min(2 * blocks_.back().capacity, LargestBlock);
        const qsizetype capacity = std::max(grown, bytes);
        blocks_.push_back(Block{std::make_unique_for_overwrite<char[]>(std::size_t(capacity)), 0, capacity});
    }
    return blocks_.back();
}

}  // namespace dorvanel::cli
