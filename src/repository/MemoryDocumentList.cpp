#include "repository/MemoryDocumentList.h"

#include "platform/Error.h"

#include <QStringEncoder>
#include <bit>
#include <cstring>
#include <utility>

namespace dorvanel {

namespace {
// The first block's bytes, and the most a block grows to (a huge page).
constexpr qsizetype FirstBlockCapacity = 16 * 1024;
constexpr qsizetype LargestBlockCapacity = 2 * 1024 * 1024;
// Items whose places the first page holds; page n holds FirstPageItems * 2^n.
constexpr qint32 FirstPageItems = 256;

// The page of the item at a 0-based index, and the item's position in it.
std::pair<std::size_t, qint32> pageOf(qint32 index) {
    const auto page = std::size_t(std::bit_width(quint32(index / FirstPageItems + 1)) - 1);
    return {page, index - FirstPageItems * ((qint32(1) << page) - 1)};
}
// UTF-8 takes at most three bytes for each UTF-16 unit.
constexpr qsizetype MaxUtf8PerUnit = 3;
}  // namespace

MemoryDocumentList::MemoryDocumentList(qint32 columnCount) : columnCount_(qMax(1, columnCount)) {}

qint32 MemoryDocumentList::Count() const { return count_; }

void MemoryDocumentList::clearItems() {
    blocks_.clear();
    pages_.clear();
    count_ = 0;
}

qint32 MemoryDocumentList::addItem(const QString& text) {
    const qint32 item = newItem();
    store(placeOf(item, 0), text);
    return item;
}

qint32 MemoryDocumentList::addRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) {
    const qint32 item = newItem();
    store(placeOf(item, 0), text);
    for (std::size_t i = 0; i < subItems.size(); ++i) store(placeOf(item, qint32(i) + 1), subItems[i]);
    return item;
}

qint32 MemoryDocumentList::newItem() {
    if (pageOf(count_).first == pages_.size()) {
        const std::size_t items = std::size_t(FirstPageItems) << pages_.size();
        pages_.push_back(AllocateListMemory(items * std::size_t(columnCount_) * sizeof(Place)));
    }
    return ++count_;
}

void MemoryDocumentList::storeSubItem(qint32 item, qint32 subItem, const QString& value) {
    store(placeOf(item, subItem), value);
}

QString MemoryDocumentList::subItemAt(qint32 item, qint32 subItem) const {
    if (subItem < 0 || subItem >= columnCount_) return QString();
    const Place& place = placeOf(item, subItem);
    return place.length == 0 ? QString()
                             : QString::fromUtf8(blocks_[place.block].bytes.get() + place.start, place.length);
}

void MemoryDocumentList::store(Place& place, const QString& value) {
    Block& block = blockWithRoom(value.size() * MaxUtf8PerUnit);
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    const char* end = toUtf8.appendToBuffer(block.bytes.get() + block.used, value);
    place = Place{quint32(blocks_.size() - 1), quint32(block.used), quint32(end - (block.bytes.get() + block.used))};
    block.used += place.length;
}

void MemoryDocumentList::store(Place& place, QByteArrayView utf8) {
    Block& block = blockWithRoom(utf8.size());
    place = Place{quint32(blocks_.size() - 1), quint32(block.used), quint32(utf8.size())};
    if (!utf8.isEmpty()) std::memcpy(block.bytes.get() + block.used, utf8.data(), std::size_t(utf8.size()));
    block.used += utf8.size();
}

MemoryDocumentList::Block& MemoryDocumentList::blockWithRoom(qsizetype bytes) {
    if (blocks_.empty() || blocks_.back().used + bytes > blocks_.back().capacity) {
        const qsizetype grown = blocks_.empty() ? FirstBlockCapacity : qMin(2 * blocks_.back().capacity, LargestBlockCapacity);
        const qsizetype capacity = qMax(grown, bytes);
        blocks_.push_back(Block{AllocateListMemory(std::size_t(capacity)), 0, capacity});
    }
    return blocks_.back();
}

MemoryDocumentList::Place& MemoryDocumentList::placeOf(qint32 item, qint32 subItem) {
    return const_cast<Place&>(std::as_const(*this).placeOf(item, subItem));
}

const MemoryDocumentList::Place& MemoryDocumentList::placeOf(qint32 item, qint32 subItem) const {
    if (item < 1 || item > Count())
        throw Error(Error::ItemNotFound, QStringLiteral("No existe el elemento %1 de la lista").arg(item));
    const auto [page, position] = pageOf(item - 1);
    return reinterpret_cast<const Place*>(pages_[page].get())[position * columnCount_ + subItem];
}

}  // namespace dorvanel
