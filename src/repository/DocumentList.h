#pragma once

#include <QHash>
#include <QString>

namespace dorvanel {

// A list of documents as a list control holds them: items (numbered from 1) with a text and
// string sub-items numbered from 1. Sub-items beyond the column count are not kept. The list
// remembers which document keys (sub-item 6) it holds, so the duplicate test stays cheap.
class DocumentList {
public:
    static constexpr qint32 KeySubItem = 6;

    virtual ~DocumentList() = default;

    void Clear();
    // Adds an item at the end and returns its position.
    qint32 Add(const QString& text);
    void SetSubItem(qint32 item, qint32 subItem, const QString& value);
    QString SubItem(qint32 item, qint32 subItem) const { return subItemAt(item, subItem); }
    QString Text(qint32 item) const { return textAt(item); }
    virtual qint32 Count() const = 0;
    // Columns including the text's; sub-item n is kept when n < ColumnCount().
    virtual qint32 ColumnCount() const = 0;

    // Whether an item carries this number as its key.
    bool ListsKey(qint32 key) const { return keyCounts_.contains(key); }

protected:
    virtual void clearItems() = 0;
    virtual qint32 addItem(const QString& text) = 0;
    virtual void storeSubItem(qint32 item, qint32 subItem, const QString& value) = 0;
    virtual QString subItemAt(qint32 item, qint32 subItem) const = 0;
    virtual QString textAt(qint32 item) const = 0;

private:
    void countKey(const QString& text, int change);

    QHash<qint64, int> keyCounts_;
};

}  // namespace dorvanel
