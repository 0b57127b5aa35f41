#include "dialogs/lists/DocumentListModel.h"

namespace dorvanel {

DocumentListModel::DocumentListModel(const QStringList& headings, QObject* parent)
    : QAbstractTableModel(parent), MemoryDocumentList(qint32(headings.size())), headings_(headings) {}

int DocumentListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

int DocumentListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headings_.size());
}

QVariant DocumentListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return index.column() == 0 ? Text(index.row() + 1) : SubItem(index.row() + 1, index.column());
}

Qt::ItemFlags DocumentListModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QVariant DocumentListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return headings_.value(section);
}

// A fill may nest inside another run of changes; the views hear of it once, as a reset.
void DocumentListModel::beginFilling() {
    if (fillDepth_++ == 0) beginResetModel();
}

void DocumentListModel::endFilling() {
    if (--fillDepth_ == 0) endResetModel();
}

void DocumentListModel::clearItems() {
    if (fillDepth_ > 0) return MemoryDocumentList::clearItems();
    beginResetModel();
    MemoryDocumentList::clearItems();
    endResetModel();
}

template <typename Change>
qint32 DocumentListModel::addingOneRow(Change&& change) {
    if (fillDepth_ > 0) return change();
    beginInsertRows(QModelIndex(), Count(), Count());
    const qint32 item = change();
    endInsertRows();
    return item;
}

qint32 DocumentListModel::addItem(const QString& text) {
    return addingOneRow([&] { return MemoryDocumentList::addItem(text); });
}

qint32 DocumentListModel::storeRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) {
    return addingOneRow([&] { return MemoryDocumentList::storeRowUtf8(text, subItems); });
}

void DocumentListModel::storeSubItem(qint32 item, qint32 subItem, const QString& value) {
    MemoryDocumentList::storeSubItem(item, subItem, value);
    if (fillDepth_ > 0) return;
    const QModelIndex cell = index(item - 1, subItem);
    emit dataChanged(cell, cell);
}

}  // namespace dorvanel
