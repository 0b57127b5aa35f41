#pragma once

#include "DocumentList.h"
#include "dorvanel_export.h"

#include <QString>
#include <memory>

namespace dorvanel {

/// A DocumentList held in memory, for hosts without a window and for the command line.
class DORVANEL_EXPORT MemoryDocumentList : public DocumentList {
public:
    /// An empty list of columnCount columns.
    explicit MemoryDocumentList(qint32 columnCount = 9);
    ~MemoryDocumentList() override;

    qint32 Count() const override;
    qint32 ColumnCount() const override;

protected:
    void clearItems() override;
    qint32 addItem(const QString& text) override;
    void storeSubItem(qint32 item, qint32 subItem, const QString& value) override;
    qint32 storeRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) override;
    QString subItemAt(qint32 item, qint32 subItem) const override;
    QString textAt(qint32 item) const override { return subItemAt(item, 0); }

private:
    class Texts;
    std::unique_ptr<Texts> texts_;
};

}  // namespace dorvanel
