#include "dialogs/dlgEdit/dlgEdit.h"

#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/ProductTitle.h"
#include "repository/DocRecord.h"
#include "repository/FailureStyles.h"
#include "repository/ManagerAudit.h"
#include "ui_dlgEdit.h"

namespace dorvanel {

namespace {

const DialogFrame::Design EditDesign{
    .clientTwips = {8280, 3180},
    .modulo = QStringLiteral("Form/dlgEdit"),
    .hostControlTwips = {1500, 2850, 1260, 240},
    .helpContext = 10102,
};

}  // namespace

dlgEdit::dlgEdit() : DialogFrame(EditDesign), ui_(std::make_unique<Ui::dlgEdit>()) {
    ui_->setupUi(this);
    finishLayout();
    connect(ui_->cmdAceptar, &QPushButton::clicked, this, &dlgEdit::saveAndClose);
    connect(ui_->cmdClose, &QPushButton::clicked, this, &dlgEdit::cancel);
    connect(ui_->cmdHelp, &QPushButton::clicked, this, [this] { showHelp(gOskel); });
}

dlgEdit::~dlgEdit() = default;

void dlgEdit::SetValues(const QString& sGuid) {
    record_ = createDocRecord();
    if (!record_->LoadFromADOConnection(0, sGuid, Required(gManager).ADOCnn(), 1)) return;
    ui_->txtName->setText(record_->Name());
    ui_->txtDescription->setText(record_->Description());
    ui_->txtWords->setPlainText(record_->Words());
}

void dlgEdit::saveAndClose() {
    if (record_) {
        ContinueOnFailure([this] { saveRecord(); });
        ContinueOnFailure([this] { reportRecordFailure(); });
    } else {
        msgBox(tr("Error de carga"), vbOKOnly);
    }
    record_.reset();
    close();
}

void dlgEdit::cancel() {
    record_.reset();
    saved_ = false;
    close();
}

// The texts are written as they stand, changed or not; the name never is.
void dlgEdit::saveRecord() {
    record_->SetDescription(ui_->txtDescription->text());
    record_->SetWords(ui_->txtWords->toPlainText());
    saved_ = record_->Update();
    if (saved_ && gManager) sealAfterWrite(gManager->ADOCnn());
}

// A refusal without a number of its own is not shown.
void dlgEdit::reportRecordFailure() {
    if (record_->LastErr() != 0 && !saved_) msgBox(record_->LastErrDescrip(), vbInformation, ProductTitle);
}

}  // namespace dorvanel
