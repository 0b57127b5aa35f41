#include "dialogs/dlgBrowse/dlgBrowse.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "dialogs/DraggedDocument.h"
#include "dialogs/RightsTest.h"
#include "dialogs/SelectedDocument.h"
#include "dialogs/SelectionPreview.h"
#include "repository/DocumentList.h"
#include "repository/FailureStyles.h"
#include "repository/FillDocumentList.h"
#include "ui_dlgBrowse.h"

namespace dorvanel {

namespace {

const DialogFrame::Design BrowseDesign{
    .clientTwips = {11490, 7005},
    .modulo = QStringLiteral("Form/dlgBrowse"),
    .hostControlTwips = {45, 6900, 1260, 240},
    .helpContext = 10101,
};

// Eight columns: the link flag FillDocumentList gives as sub-item 8 is not kept.
// The hidden keys' headings are the columns' own names, which no translation changes.
const QList<ReportListView::Column> BrowseColumns{
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Nombre"), 1440},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Descripción"), 3000},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Tipo"), 1000},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Modificado"), 1440},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Alta"), 1440},
    {QT_TRANSLATE_NOOP("dorvanel::ReportListView", "Miniatura"), 0},
    {"Sys_PK", 0},
    {"Sys_Guid", 0},
};

// The answer a parent list gives for a document without links.
bool hasNoLinks(const QVariant& parents) {
    return parents.typeId() == QMetaType::QString && parents.toString().isEmpty();
}

}  // namespace

dlgBrowse::dlgBrowse() : DialogFrame(BrowseDesign), ui_(std::make_unique<Ui::dlgBrowse>()) {
    ui_->setupUi(this);
    finishLayout();
    ui_->lvwDocs->SetColumns(BrowseColumns);
    ui_->lvwDocs->setFocus();
    ui_->imgView->ShowBuiltInPlaceholder();
    connect(ui_->lvwDocs, &ReportListView::ItemClick, this, &dlgBrowse::selectionStep);
    connect(ui_->lvwDocs, &ReportListView::DblClick, this, [this] { OpenSelectedDocument(*ui_->lvwDocs, false); });
    connect(ui_->chkImg, &QCheckBox::clicked, this, [this](bool checked) { showMiniature_ = checked; });
    connect(ui_->cmdOpenDoc, &QPushButton::clicked, this, [this] { OpenSelectedDocument(*ui_->lvwDocs, false); });
    connect(ui_->Command1, &QPushButton::clicked, this, [this] { OpenSelectedDocument(*ui_->lvwDocs, true); });
    connect(ui_->cmdAdd, &QPushButton::clicked, this, [this] { addDocuments({QString()}); });
    takeDragAndDrop();
    connect(ui_->cmdEdit, &QPushButton::clicked, this, &dlgBrowse::editDocument);
    connect(ui_->cmdDel, &QPushButton::clicked, this, &dlgBrowse::unlinkDocument);
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(ui_->cmdHelp, &QPushButton::clicked, this, [this] { showHelp(gOskel); });
}

dlgBrowse::~dlgBrowse() = default;

// The first selection shows a miniature, as the check box, checked from the start, says.
void dlgBrowse::IniciarBrw() {
    fillList();
    showMiniature_ = true;
    previewSelected();
}

const DocumentList& dlgBrowse::DocumentItems() const { return ui_->lvwDocs->ListItems(); }

void dlgBrowse::refreshList() {
    fillList();
    previewSelected();
}

// The documents linked to the parents through links whose flag is not 0.
void dlgBrowse::fillList() {
    ContinueOnFailure([this] { FillDocumentList(parents_, ui_->lvwDocs->ListItems(), false, {}, {}, false); });
}

bool dlgBrowse::hasSelection() const { return DocumentItems().Count() > 0 && ui_->lvwDocs->SelectedItem() != 0; }

void dlgBrowse::previewSelected() {
    if (hasSelection()) selectionStep(ui_->lvwDocs->SelectedItem());
}

void dlgBrowse::selectionStep(qint32 item) {
    if (DocumentItems().Count() == 0) return;
    QString key;
    ContinueOnFailure([&] { key = DocumentItems().SubItem(item, DocumentList::KeySubItem); });
    ShowSelectionPreview(*ui_->imgView, key, showMiniature_, BeforePlaceholder::ClearPicture);
}

QString dlgBrowse::selectedGuid() const {
    return DocumentItems().SubItem(ui_->lvwDocs->SelectedItem(), DocumentList::GuidSubItem);
}

// Files dropped on the list are added as "Agregar documento" adds one, each proposed in turn. The
// add dialogs open once the drop has ended, never inside it.
void dlgBrowse::takeDragAndDrop() {
    if (!gManager || !gManager->dragAndDrop()) return;
    LetDocumentsBeDraggedOut(*ui_->lvwDocs);
    ui_->lvwDocs->SetTakesDroppedFiles(true);
    connect(ui_->lvwDocs, &ReportListView::FilesDropped, this, &dlgBrowse::addDocuments, Qt::QueuedConnection);
}

// The add dialog once for each file ("" for none), after one rights test. A failing add dialog
// counts as one that added: the list is filled again all the same. The picture is refreshed
// whatever it answered.
void dlgBrowse::addDocuments(const QStringList& files) {
    if (!RightsAllow(&Manager::CanAddLink, WhenCheckFails::Allow)) {
        msgBox(tr("No tiene permiso para agregar documentos"), vbOKOnly);
        return;
    }
    bool added = false;
    for (const QString& file : files) {
        bool addedThis = true;
        ContinueOnFailure([&] { addedThis = Required(gManager).AddDocumentDlg(parents_, parentType_, file); });
        added = added || addedThis;
    }
    if (added) fillList();
    previewSelected();
}

void dlgBrowse::editDocument() {
    if (!hasSelection() || !RightsAllow(&Manager::CanEdit, WhenCheckFails::Refuse)) return;
    ContinueOnFailure([&] { Required(gManager).EditDocumentDlg(selectedGuid()); });
    refreshList();
}

// Unlinks the selected document from the parents (the whole parent text is one key here) and,
// when that left it without any link, deletes it.
void dlgBrowse::unlinkDocument() {
    if (!hasSelection()) return;
    if (msgBox(tr("¿Seguro desea eliminar el vínculo a este archivo y el contenido de ser posible?"),
               vbYesNoStopDefaultNo) != vbYes)
        return;
    if (!RightsAllow(&Manager::CanDeleteLink, WhenCheckFails::Refuse)) return;
    const QString guid = selectedGuid();
    bool unlinked = true;
    ContinueOnFailure([&] { unlinked = Required(gManager).DeleteLink(parents_, guid); });
    if (unlinked) refreshList();
    deleteIfUnlinked(guid);
}

// The list is not refreshed again: the document left it when its link went.
void dlgBrowse::deleteIfUnlinked(const QString& guid) {
    QVariant parents;
    if (!ContinueOnFailure([&] { parents = Required(gManager).GetParentList(guid); }) || !hasNoLinks(parents)) return;
    if (!RightsAllow(&Manager::CanDeleteDocument, WhenCheckFails::Refuse)) return;
    ContinueOnFailure([&] {
        if (!Required(gManager).RemoveDocument(guid)) ReportRecordedFailure();
    });
}

}  // namespace dorvanel
