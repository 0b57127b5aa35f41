#pragma once

#include "repository/MemoryDocumentList.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace dorvanel {

// A document list that views can show: one row per item, the item's text in column 0 and
// sub-item n in column n. The texts stay packed as the memory list keeps them; a view asks
// only for the cells it paints. A fill tells its views once, when it ends.
class DocumentListModel : public QAbstractTableModel, public MemoryDocumentList {
    Q_OBJECT
public:
    // One heading for each column; the list keeps as many columns as there are headings.
    explicit DocumentListModel(const QStringList& headings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A row may be dragged; whether a view lets it is the view's setting.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    void beginFilling() override;
    void endFilling() override;
    void clearItems() override;
    qint32 addItem(const QString& text) override;
    void storeSubItem(qint32 item, qint32 subItem, const QString& value) override;
    qint32 storeRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) override;

private:
    // Outside a fill each change is told to the views as it happens.
    template <typename Change>
    qint32 addingOneRow(Change&& change);

    const QStringList headings_;
    int fillDepth_ = 0;
};

}  // namespace dorvanel
