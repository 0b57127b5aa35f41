#pragma once

#include <QList>
#include <QString>
#include <QTreeView>
#include <functional>

class QMimeData;

namespace dorvanel {

class DocumentList;
class DocumentListModel;

// A list of documents in report form: a row per item under column headings, the item's text
// in the first column and its sub-items in the next ones. Items are numbered from 1 and 0
// stands for none. Once a fill ends, its first item is the selected one, as a list control
// designates it.
class ReportListView : public QTreeView {
    Q_OBJECT
public:
    // A column as designed: its heading and width in twips; a width of 0 keeps the column
    // (its sub-items are stored) but does not show it. The heading is shown translated in the
    // context "dorvanel::ReportListView" (QT_TRANSLATE_NOOP marks it for the translators).
    struct Column {
        const char* heading;
        int widthTwips;
    };

    explicit ReportListView(QWidget* parent = nullptr);
    ~ReportListView() override;

    // Replaces the list with an empty one of these columns.
    void SetColumns(const QList<Column>& columns);
    // The items, for FillDocumentList and for reading sub-items.
    DocumentList& ListItems();
    const DocumentList& ListItems() const;

    // The first item, from the top, whose text begins with text regardless of letter case.
    qint32 FindItem(const QString& text) const;
    void EnsureVisible(qint32 item);
    // Makes the item the selected one, as the program does it: ItemClick is not signalled.
    void SetSelected(qint32 item);
    qint32 SelectedItem() const;
    // Whether the selection disappears while the list has no focus; shown by default.
    void SetHideSelection(bool hide);

    // Lets the user drag the selected item out, as what makeData gives for it.
    void SetDragOut(std::function<QMimeData*(qint32 item)> makeData);
    // The data a drag of the item carries.
    QMimeData* DragData(qint32 item) const;
    // Takes local files dropped on the list and tells them through FilesDropped.
    void SetTakesDroppedFiles(bool takes);

signals:
    // The user clicked an item or moved the selection onto one with the keyboard.
    void ItemClick(qint32 item);
    void DblClick();
    // Local files were dropped on the list, in the order the drop gives them.
    void FilesDropped(const QStringList& paths);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void selectFirstItem();
    QModelIndex rowIndex(qint32 item) const;

    DocumentListModel* model_ = nullptr;
    std::function<QMimeData*(qint32 item)> dragData_;
};

}  // namespace dorvanel
