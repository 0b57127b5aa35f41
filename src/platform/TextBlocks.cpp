#include "platform/TextBlocks.h"

#include <algorithm>
#include <cstring>

namespace dorvanel {

void TextBlocks::reserve(qsizetype bytes) {
    if (!blocks_.empty() && blocks_.back().used + bytes <= blocks_.back().capacity) return;
    const qsizetype grown = blocks_.empty() ? FirstBlock : std::min(2 * blocks_.back().capacity, LargestBlock);
    const qsizetype capacity = std::max(grown, bytes);
    blocks_.push_back(Block{std::make_unique_for_overwrite<char[]>(std::size_t(capacity)), 0, capacity});
}

TextBlocks::Place TextBlocks::place(QByteArrayView text) {
    reserve(text.size());
    const Place placed{quint32(blocks_.size() - 1), quint32(blocks_.back().used), quint32(text.size())};
    char* const start = appendTo(text.size());
    if (!text.isEmpty()) std::memcpy(start, text.data(), std::size_t(text.size()));
    return placed;
}

QByteArrayView TextBlocks::add(std::initializer_list<QByteArrayView> pieces) {
    qsizetype size = 0;
    for (const QByteArrayView piece : pieces) size += piece.size();
    reserve(size);
    char* const start = appendTo(size);
    char* end = start;
    for (const QByteArrayView piece : pieces) end = std::copy(piece.begin(), piece.end(), end);
    return QByteArrayView(start, size);
}

char* TextBlocks::appendTo(qsizetype bytes) {
    Block& block = blocks_.back();
    char* const start = block.bytes.get() + block.used;
    block.used += bytes;
    return start;
}

}  // namespace dorvanel
