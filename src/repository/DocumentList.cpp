#include "repository/DocumentList.h"

#include "platform/Error.h"

namespace dorvanel {

void DocumentList::Clear() {
    clearItems();
    keyCounts_.clear();
}

qint32 DocumentList::Add(const QString& text) { return addItem(text); }

void DocumentList::SetSubItem(qint32 item, qint32 subItem, const QString& value) {
    if (item < 1 || item > Count())
        throw Error(Error::ItemNotFound, QStringLiteral("No existe el elemento %1 de la lista").arg(item));
    if (subItem < 1 || subItem >= ColumnCount()) return;
    if (subItem == KeySubItem) {
        countKey(subItemAt(item, subItem), -1);
        countKey(value, +1);
    }
    storeSubItem(item, subItem, value);
}

void DocumentList::countKey(const QString& text, int change) {
    bool numeric = false;
    const qint64 key = text.toLongLong(&numeric);
    if (!numeric) return;
    int& count = keyCounts_[key];
    count += change;
    if (count <= 0) keyCounts_.remove(key);
}

}  // namespace dorvanel
