#include "repository/DocumentList.h"

#include "platform/Error.h"
#include "repository/KeyText.h"

#include <QCoreApplication>
#include <QHash>

namespace dorvanel {

struct DocumentList::Private {
    // How many items carry each key: two items may carry the same one, and replacing the key
    // of one of them leaves the key listed.
    QHash<qint32, qint32> keyCounts;
};

DocumentList::DocumentList() : d_(std::make_unique<Private>()) {}

DocumentList::~DocumentList() = default;

void DocumentList::Clear() {
    clearItems();
    d_->keyCounts.clear();
}

qint32 DocumentList::Add(const QString& text) { return addItem(text); }

qint32 DocumentList::addRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) {
    const auto kept = subItems.first(qMin<std::size_t>(subItems.size(), std::size_t(qMax(0, ColumnCount() - 1))));
    const qint32 item = storeRowUtf8(text, kept);
    if (kept.size() >= std::size_t(KeySubItem)) countKey(kept[KeySubItem - 1], +1);
    return item;
}

qint32 DocumentList::storeRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) {
    const qint32 item = addItem(QString::fromUtf8(text));
    for (std::size_t i = 0; i < subItems.size(); ++i) storeSubItem(item, qint32(i) + 1, QString::fromUtf8(subItems[i]));
    return item;
}

void DocumentList::SetSubItem(qint32 item, qint32 subItem, const QString& value) {
    if (!keeps(item, subItem)) return;
    replaceKey(item, subItem, value.toUtf8());
    storeSubItem(item, subItem, value);
}

bool DocumentList::keeps(qint32 item, qint32 subItem) const {
    if (item < 1 || item > Count())
        throw Error(
            Error::ItemNotFound,
            QCoreApplication::translate("dorvanel::DocumentList", "No existe el elemento %1 de la lista").arg(item));
    return subItem >= 1 && subItem < ColumnCount();
}

void DocumentList::replaceKey(qint32 item, qint32 subItem, QByteArrayView newText) {
    if (subItem != KeySubItem) return;
    countKey(subItemAt(item, subItem).toUtf8(), -1);
    countKey(newText, +1);
}

void DocumentList::countKey(QByteArrayView text, int change) {
    const std::optional<qint32> key = keyFromText(text);
    if (!key) return;
    qint32& count = d_->keyCounts[*key];
    count += change;
    if (count <= 0) d_->keyCounts.remove(*key);
}

bool DocumentList::listsKey(qint32 key) const { return d_->keyCounts.contains(key); }

}  // namespace dorvanel
