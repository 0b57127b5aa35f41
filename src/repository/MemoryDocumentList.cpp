#include "repository/MemoryDocumentList.h"

#include "platform/Error.h"
#include "platform/TextBlocks.h"

#include <QCoreApplication>

#include <bit>
#include <utility>
#include <vector>

namespace dorvanel {

namespace {
// Items whose places the first page holds; page n holds FirstPageItems * 2^n.
constexpr qint32 FirstPageItems = 256;

// The page of the item at a 0-based index, and the item's position in it.
std::pair<std::size_t, qint32> pageOf(qint32 index) {
    const auto page = std::size_t(std::bit_width(quint32(index / FirstPageItems + 1)) - 1);
    return {page, index - FirstPageItems * ((qint32(1) << page) - 1)};
}
}  // namespace

// The items' texts (column 0 an item's own text, column n its sub-item n), packed as UTF-8
// into text blocks; items keep only where their texts lie. Texts from the database are stored
// as they come, without a round trip through UTF-16. The pages of places double in size as the
// list grows, and never move.
class DORVANEL_NO_EXPORT MemoryDocumentList::Texts {
public:
    explicit Texts(qint32 columnCount) : columnCount_(columnCount) {}

    qint32 columnCount() const { return columnCount_; }
    qint32 count() const { return count_; }
    void clear();
    // Adds an item with empty texts and returns its number.
    qint32 addItem();
    // A text set again is appended and pointed to anew.
    void store(qint32 item, qint32 column, QByteArrayView utf8);
    // Adds an item with its text (column 0) and the texts of its first columns.
    qint32 addRow(QByteArrayView text, std::span<const QByteArrayView> subItems);
    QString text(qint32 item, qint32 column) const;

private:
    using Place = TextBlocks::Place;
    // The place of an existing item's text; raises for an item the list does not have.
    Place& placeOf(qint32 item, qint32 column);
    const Place& placeOf(qint32 item, qint32 column) const;

    qint32 columnCount_;
    TextBlocks blocks_;
    // columnCount_ places per item, in pages that hold twice as many items as the page before.
    std::vector<std::unique_ptr<Place[]>> pages_;
    qint32 count_ = 0;
};

void MemoryDocumentList::Texts::clear() {
    blocks_.clear();
    pages_.clear();
    count_ = 0;
}

qint32 MemoryDocumentList::Texts::addItem() {
    if (pageOf(count_).first == pages_.size()) {
        const std::size_t items = std::size_t(FirstPageItems) << pages_.size();
        pages_.push_back(std::make_unique<Place[]>(items * std::size_t(columnCount_)));
    }
    return ++count_;
}

void MemoryDocumentList::Texts::store(qint32 item, qint32 column, QByteArrayView utf8) {
    placeOf(item, column) = blocks_.place(utf8);
}

qint32 MemoryDocumentList::Texts::addRow(QByteArrayView text, std::span<const QByteArrayView> subItems) {
    const qint32 item = addItem();
    // One block takes the whole row, so the row's places are found and its room made once.
    qsizetype bytes = text.size();
    for (const QByteArrayView subItem : subItems) bytes += subItem.size();
    blocks_.reserve(bytes);
    Place* places = &placeOf(item, 0);
    places[0] = blocks_.place(text);
    for (std::size_t i = 0; i < subItems.size(); ++i) places[i + 1] = blocks_.place(subItems[i]);
    return item;
}

QString MemoryDocumentList::Texts::text(qint32 item, qint32 column) const {
    const Place& place = placeOf(item, column);
    return place.length == 0 ? QString() : QString::fromUtf8(blocks_.at(place));
}

MemoryDocumentList::Texts::Place& MemoryDocumentList::Texts::placeOf(qint32 item, qint32 column) {
    return const_cast<Place&>(std::as_const(*this).placeOf(item, column));
}

const MemoryDocumentList::Texts::Place& MemoryDocumentList::Texts::placeOf(qint32 item, qint32 column) const {
    if (item < 1 || item > count_)
        throw Error(
            Error::ItemNotFound,
            QCoreApplication::translate("dorvanel::DocumentList", "No existe el elemento %1 de la lista").arg(item));
    const auto [page, position] = pageOf(item - 1);
    return pages_[page][std::size_t(position) * std::size_t(columnCount_) + std::size_t(column)];
}

MemoryDocumentList::MemoryDocumentList(qint32 columnCount) : texts_(std::make_unique<Texts>(qMax(1, columnCount))) {}

MemoryDocumentList::~MemoryDocumentList() = default;

qint32 MemoryDocumentList::Count() const { return texts_->count(); }

qint32 MemoryDocumentList::ColumnCount() const { return texts_->columnCount(); }

void MemoryDocumentList::clearItems() { texts_->clear(); }

qint32 MemoryDocumentList::addItem(const QString& text) {
    const qint32 item = texts_->addItem();
    texts_->store(item, 0, text.toUtf8());
    return item;
}

qint32 MemoryDocumentList::storeRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) {
    return texts_->addRow(text, subItems);
}

void MemoryDocumentList::storeSubItem(qint32 item, qint32 subItem, const QString& value) {
    texts_->store(item, subItem, value.toUtf8());
}

QString MemoryDocumentList::subItemAt(qint32 item, qint32 subItem) const {
    if (subItem < 0 || subItem >= ColumnCount()) return QString();
    return texts_->text(item, subItem);
}

}  // namespace dorvanel
