#include "dialogs/lists/ReportListView.h"

#include "dialogs/lists/DocumentListModel.h"
#include "platform/Twips.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace dorvanel {

namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

}  // namespace

ReportListView::ReportListView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    SetHideSelection(false);
    SetColumns({});
}

ReportListView::~ReportListView() = default;

void ReportListView::SetColumns(const QList<Column>& columns) {
    QStringList headings;
    for (const Column& column : columns) headings << tr(column.heading);
    auto* model = new DocumentListModel(headings, this);
    setModel(model);
    delete model_;
    model_ = model;
    connect(model_, &QAbstractItemModel::modelReset, this, &ReportListView::selectFirstItem);
    for (int i = 0; i < columns.size(); ++i) {
        setColumnHidden(i, columns[i].widthTwips == 0);
        header()->resizeSection(i, twipsToPixels(columns[i].widthTwips, logicalDpiX()));
    }
}

DocumentList& ReportListView::ListItems() { return *model_; }

const DocumentList& ReportListView::ListItems() const { return *model_; }

qint32 ReportListView::FindItem(const QString& text) const {
    for (qint32 item = 1; item <= model_->Count(); ++item)
        if (model_->Text(item).startsWith(text, Qt::CaseInsensitive)) return item;
    return 0;
}

void ReportListView::EnsureVisible(qint32 item) { scrollTo(rowIndex(item)); }

void ReportListView::SetSelected(qint32 item) {
    selectionModel()->setCurrentIndex(rowIndex(item), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

qint32 ReportListView::SelectedItem() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

// Without focus the selection is drawn in the inactive group's colours: the same colours as
// with focus to keep it shown, the list's own to hide it.
void ReportListView::SetHideSelection(bool hide) {
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, hide ? QPalette::Base : QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, hide ? QPalette::Text : QPalette::HighlightedText));
    setPalette(colours);
}

void ReportListView::SetDragOut(std::function<QMimeData*(qint32 item)> makeData) {
    dragData_ = std::move(makeData);
    setDragEnabled(bool(dragData_));
}

QMimeData* ReportListView::DragData(qint32 item) const { return dragData_ && item > 0 ? dragData_(item) : nullptr; }

// The viewport, under the pointer, takes drops as the view does.
void ReportListView::SetTakesDroppedFiles(bool takes) {
    setAcceptDrops(takes);
    viewport()->setAcceptDrops(takes);
    setDropIndicatorShown(false);
}

void ReportListView::startDrag(Qt::DropActions /*supportedActions*/) {
    QMimeData* dragged = DragData(SelectedItem());
    if (!dragged) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragged);
    drag->exec(Qt::CopyAction);
}

void ReportListView::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void ReportListView::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptDrops() && !localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
    else event->ignore();
}

void ReportListView::dropEvent(QDropEvent* event) {
    const QStringList files = acceptDrops() ? localFiles(event->mimeData()) : QStringList();
    if (files.isEmpty()) return event->ignore();
    event->acceptProposedAction();
    emit FilesDropped(files);
}

void ReportListView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    const QModelIndex clicked = indexAt(event->position().toPoint());
    if (clicked.isValid() && event->button() == Qt::LeftButton) emit ItemClick(clicked.row() + 1);
}

void ReportListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid()) emit DblClick();
}

void ReportListView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before) emit ItemClick(currentIndex().row() + 1);
}

void ReportListView::selectFirstItem() {
    if (model_->Count() > 0) SetSelected(1);
}

QModelIndex ReportListView::rowIndex(qint32 item) const { return model_->index(item - 1, 0); }

}  // namespace dorvanel
