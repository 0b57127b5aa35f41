#pragma once

#include "dorvanel_export.h"

#include <QByteArrayView>
#include <QString>
#include <memory>
#include <span>

namespace dorvanel {

/// A list of documents as a list control holds them: items (numbered from 1) with a text and
/// string sub-items numbered from 1. Sub-items beyond the column count are not kept. The list
/// remembers which document keys (sub-item 6) it holds, so the duplicate test stays cheap.
class DORVANEL_EXPORT DocumentList {
public:
    /// The sub-items FillDocumentList gives each item, whose text is the document's Name.
    enum SubItemNumber : qint32 {
        DescriptionSubItem = 1,  ///< Description
        TypeDataSubItem,         ///< TypeData
        TimeStampSubItem,        ///< Sys_TimeStamp
        CreatedSubItem,          ///< Sys_DTCreated
        WorksSubItem,            ///< Works: the keywords
        KeySubItem,              ///< Sys_PK: the key of the duplicate test
        GuidSubItem,             ///< Sys_Guid
        SisSubItem,              ///< Sis of the link the row was found through
    };

    DocumentList();
    virtual ~DocumentList();
    DocumentList(const DocumentList&) = delete;
    DocumentList& operator=(const DocumentList&) = delete;

    /// Marks a run of changes made at once, such as a whole fill: a list shown on screen then
    /// redraws once when it ends rather than once for each item.
    class Filling {
    public:
        /// Marks the start of the run on list, whose end comes with this object's.
        explicit Filling(DocumentList& list) : list_(list) { list_.beginFilling(); }
        ~Filling() { list_.endFilling(); }
        Filling(const Filling&) = delete;
        Filling& operator=(const Filling&) = delete;

    private:
        DocumentList& list_;
    };

    /// Removes every item.
    void Clear();
    /// Adds an item at the end and returns its position.
    qint32 Add(const QString& text);
    /// Sets an item's sub-item; one the list does not keep is left out.
    void SetSubItem(qint32 item, qint32 subItem, const QString& value);
    /// Adds an item with its text and sub-items 1, 2, ... at once, from UTF-8 texts as they come
    /// from the database: the way a long list is filled.
    qint32 addRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems);

    /// An item's sub-item, "" for one the list does not keep.
    QString SubItem(qint32 item, qint32 subItem) const { return subItemAt(item, subItem); }
    /// An item's text.
    QString Text(qint32 item) const { return textAt(item); }
    /// How many items the list holds.
    virtual qint32 Count() const = 0;
    /// Columns including the text's; sub-item n is kept when n < ColumnCount().
    virtual qint32 ColumnCount() const = 0;

    /// Whether an item carries this number as its key.
    bool listsKey(qint32 key) const;

protected:
    /// The start and the end of a run of changes (Filling); by default nothing happens.
    ///@{
    virtual void beginFilling() {}
    virtual void endFilling() {}
    ///@}
    /// Removes every item, for Clear.
    virtual void clearItems() = 0;
    /// Adds an item at the end and returns its position, for Add.
    virtual qint32 addItem(const QString& text) = 0;
    /// Keeps a sub-item the list keeps, for SetSubItem.
    virtual void storeSubItem(qint32 item, qint32 subItem, const QString& value) = 0;
    /// By default the texts are turned into QStrings; a list that keeps UTF-8 stores them as
    /// they are. Only the sub-items the list keeps are given.
    virtual qint32 storeRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems);
    /// An item's sub-item, for SubItem.
    virtual QString subItemAt(qint32 item, qint32 subItem) const = 0;
    /// An item's text, for Text.
    virtual QString textAt(qint32 item) const = 0;

private:
    // Whether the item exists (raises otherwise) and the list keeps that sub-item.
    bool keeps(qint32 item, qint32 subItem) const;
    void replaceKey(qint32 item, qint32 subItem, QByteArrayView newText);
    void countKey(QByteArrayView text, int change);

    struct Private;
    const std::unique_ptr<Private> d_;
};

}  // namespace dorvanel
