#include "repository/MemoryDocumentList.h"

#include "platform/Error.h"

namespace dorvanel {

qint32 MemoryDocumentList::addItem(const QString& text) {
    items_.append(Item{text, QStringList(columnCount_ > 1 ? columnCount_ - 1 : 0)});
    return Count();
}

void MemoryDocumentList::storeSubItem(qint32 item, qint32 subItem, const QString& value) {
    items_[item - 1].subItems[subItem - 1] = value;
}

QString MemoryDocumentList::subItemAt(qint32 item, qint32 subItem) const {
    return itemAt(item).subItems.value(subItem - 1);
}

QString MemoryDocumentList::textAt(qint32 item) const { return itemAt(item).text; }

const MemoryDocumentList::Item& MemoryDocumentList::itemAt(qint32 item) const {
    if (item < 1 || item > Count())
        throw Error(Error::ItemNotFound, QStringLiteral("No existe el elemento %1 de la lista").arg(item));
    return items_[item - 1];
}

}  // namespace dorvanel
