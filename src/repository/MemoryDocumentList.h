#pragma once

#include "repository/DocumentList.h"

#include <QList>
#include <QStringList>

namespace dorvanel {

// A DocumentList held in memory, for hosts without a window and for the command line.
class MemoryDocumentList : public DocumentList {
public:
    explicit MemoryDocumentList(qint32 columnCount = 9) : columnCount_(columnCount) {}

    qint32 Count() const override { return static_cast<qint32>(items_.size()); }
    qint32 ColumnCount() const override { return columnCount_; }

protected:
    void clearItems() override { items_.clear(); }
    qint32 addItem(const QString& text) override;
    void storeSubItem(qint32 item, qint32 subItem, const QString& value) override;
    QString subItemAt(qint32 item, qint32 subItem) const override;
    QString textAt(qint32 item) const override;

private:
    struct Item {
        QString text;
        QStringList subItems;
    };
    const Item& itemAt(qint32 item) const;

    qint32 columnCount_;
    QList<Item> items_;
};

}  // namespace dorvanel
