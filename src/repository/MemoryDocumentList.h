#pragma once

#include "DocumentList.h"
#include "repository/ListMemory.h"

#include <QString>
#include <memory>
#include <vector>

namespace dorvanel {

// A DocumentList held in memory, for hosts without a window and for the command line. Texts
// are packed as UTF-8 into blocks and items keep only where their texts lie, so that a list of
// a hundred thousand documents costs a few dozen allocations instead of a million. Blocks, and
// the pages of places, double in size as the list grows up to 2 MiB, and never move.
class MemoryDocumentList : public DocumentList {
public:
    explicit MemoryDocumentList(qint32 columnCount = 9);

    qint32 Count() const override;
    qint32 ColumnCount() const override { return columnCount_; }

protected:
    void clearItems() override;
    qint32 addItem(const QString& text) override;
    void storeSubItem(qint32 item, qint32 subItem, const QString& value) override;
    qint32 addRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) override;
    QString subItemAt(qint32 item, qint32 subItem) const override;
    QString textAt(qint32 item) const override { return subItemAt(item, 0); }

private:
    // Where one text lies; a text set again is appended and pointed to anew.
    struct Place {
        quint32 block = 0;
        quint32 start = 0;
        quint32 length = 0;
    };
    Place& placeOf(qint32 item, qint32 subItem);
    const Place& placeOf(qint32 item, qint32 subItem) const;
    // Makes room for one more item and returns its number.
    qint32 newItem();
    void store(Place& place, const QString& value);
    void store(Place& place, QByteArrayView utf8);

    struct Block {
        ListMemory bytes;
        qsizetype used = 0;
        qsizetype capacity = 0;
    };
    // A block with room for `bytes` more; a new one when the last is full.
    Block& blockWithRoom(qsizetype bytes);

    qint32 columnCount_;
    std::vector<Block> blocks_;
    // columnCount_ places per item (its text, then its sub-items), in pages that hold twice as
    // many items as the page before them.
    std::vector<ListMemory> pages_;
    qint32 count_ = 0;
};

}  // namespace dorvanel
