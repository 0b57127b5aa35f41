#include "dialogs/dlgFind/dlgFind.h"

#include "component/Globals.h"
#include "dialogs/DraggedDocument.h"
#include "dialogs/SelectedDocument.h"
#include "dialogs/SelectionPreview.h"
#include "repository/DocumentList.h"
#include "ui_dlgFind.h"

#include <QKeyEvent>

namespace dorvanel {

namespace {

const DialogFrame::Design FindDesign{
    .clientTwips = {8850, 5895},
    .modulo = QStringLiteral("Form/dlgFind"),
    .hostControlTwips = {1560, 5595, 1260, 240},
    .helpContext = 10103,
};

// The hidden keys' headings are the columns' own names, which no translation changes.
const QList<ReportListView::Column> FindColumns{
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Nombre"), 1440},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Descripción"), 3000},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Tipo"), 1440},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Modificado"), 1440},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Alta"), 1440},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Palabras"), 0},
    {"Sys_PK", 0},
    {"Sys_Guid", 0},
    {"Sis", 0},
};

}  // namespace

dlgFind::dlgFind() : DialogFrame(FindDesign), ui_(std::make_unique<Ui::dlgFind>()) {
    ui_->setupUi(this);
    finishLayout();
    ui_->lvwDocs->SetColumns(FindColumns);
    LetDocumentsBeDraggedOut(*ui_->lvwDocs);
    ui_->imgView->ShowBuiltInPlaceholder();
    ui_->dxBuscar->installEventFilter(this);
    connect(ui_->dxBuscar, &QLineEdit::textChanged, this, &dlgFind::IncrementalFind);
    connect(ui_->lvwDocs, &ReportListView::ItemClick, this, &dlgFind::previewItem);
    connect(ui_->chkView, &QCheckBox::clicked, this, [this](bool checked) { showMiniature_ = checked; });
    connect(ui_->mcdPreview, &QPushButton::clicked, this, [this] { OpenSelectedDocument(*ui_->lvwDocs, false); });
    connect(ui_->cmdOK, &QPushButton::clicked, this, &dlgFind::chooseSelected);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &dlgFind::cancel);
    connect(ui_->cmdHelp, &QPushButton::clicked, this, [this] { showHelp(gOskel); });
}

dlgFind::~dlgFind() = default;

void dlgFind::SetShowMiniature(bool show) {
    showMiniature_ = show;
    ui_->chkView->setChecked(show);
}

DocumentList& dlgFind::DocumentItems() { return ui_->lvwDocs->ListItems(); }

// Whenever the dialog becomes the active window the user can type a name straight away.
bool dlgFind::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) ui_->dxBuscar->setFocus();
    return DialogFrame::event(event);
}

// Runs before the box handles the key, and so before the change the key makes.
bool dlgFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->dxBuscar && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        erasingKey_ = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    return DialogFrame::eventFilter(watched, event);
}

// Jumps to the first document whose name begins with the box's text and, unless the user is
// erasing, completes the name in the box with the added part selected, so that the next letter
// typed replaces it. Selecting a document this way does not change the preview.
void dlgFind::IncrementalFind() {
    ReportListView& list = *ui_->lvwDocs;
    const qint32 item = list.FindItem(ui_->dxBuscar->text());
    list.SetHideSelection(item == 0);
    if (item == 0) return;
    list.EnsureVisible(item);
    list.SetSelected(item);
    if (!erasingKey_) completeWith(list.ListItems().Text(item));
}

void dlgFind::completeWith(const QString& name) {
    QLineEdit& box = *ui_->dxBuscar;
    const int caret = box.cursorPosition();
    box.setText(name);
    if (!box.text().isEmpty()) box.setSelection(caret, int(box.text().size()) - caret);
}

void dlgFind::previewItem(qint32 item) {
    const DocumentList& items = DocumentItems();
    if (items.Count() == 0) return;
    ShowSelectionPreview(*ui_->imgView, items.SubItem(item, DocumentList::KeySubItem), showMiniature_,
                         BeforePlaceholder::KeepPicture);
}

void dlgFind::chooseSelected() {
    const qint32 item = ui_->lvwDocs->SelectedItem();
    if (item == 0) return;
    accepted_ = true;
    hide();
    selectedGuid_ = DocumentItems().SubItem(item, DocumentList::GuidSubItem);
}

void dlgFind::cancel() {
    accepted_ = false;
    hide();
}

}  // namespace dorvanel
