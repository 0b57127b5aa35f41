#include "dialogs/dlgAdd/dlgAdd.h"

#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/Oskel.h"
#include "component/ProductTitle.h"
#include "dialogs/ChooseFile.h"
#include "dialogs/MakeMiniature.h"
#include "dialogs/RightsTest.h"
#include "repository/FailureStyles.h"
#include "ui_dlgAdd.h"

#include <QApplication>

namespace dorvanel {

QString dlgAdd::PictureFilter() {
    return tr("Archivos de Imagenes (*.bmp;*.ico;*.gif;*.jpg)|*.bmp;*.ico;*.gif;*.jpg|Todos los Archivos (*.*)|*.*");
}

namespace {

const DialogFrame::Design AddDesign{
    .clientTwips = {8850, 5355},
    .modulo = QStringLiteral("Form/dlgAdd"),
    .hostControlTwips = {1695, 4890, 1260, 240},
    .helpContext = 10100,
};

// The system colours a box is painted with: the window background and the button face.
constexpr QPalette::ColorRole WindowBackground = QPalette::Base;
constexpr QPalette::ColorRole ButtonFace = QPalette::Button;

void enableBox(QWidget* box, bool enabled) {
    box->setEnabled(enabled);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(enabled ? WindowBackground : ButtonFace));
    box->setPalette(palette);
}

bool isBlank(const QString& text) { return text.trimmed().isEmpty(); }

// The hourglass as the dialog's own pointer while it lives: message boxes, windows of their
// own, keep the usual one.
class Hourglass {
public:
    explicit Hourglass(QWidget& dialog) : dialog_(dialog) { dialog_.setCursor(Qt::WaitCursor); }
    ~Hourglass() { dialog_.unsetCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    QWidget& dialog_;
};

}  // namespace

dlgAdd::dlgAdd() : DialogFrame(AddDesign), ui_(std::make_unique<Ui::dlgAdd>()), services_(createOskel()) {
    ui_->setupUi(this);
    finishLayout();
    for (auto* option : {ui_->optImport, ui_->optURL})
        connect(option, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected) ApplyMode();
        });
    connect(ui_->txtFile, &QLineEdit::textChanged, this, &dlgAdd::proposeName);
    connect(ui_->cmdExplorer, &QPushButton::clicked, this, &dlgAdd::chooseFile);
    connect(ui_->cmdOK, &QPushButton::clicked, this, &dlgAdd::storeAndLink);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &dlgAdd::cancel);
    connect(ui_->cmdHelp, &QPushButton::clicked, this, [this] { showHelp(services_); });
    ResetEntries();
}

dlgAdd::~dlgAdd() = default;

void dlgAdd::SetParents(const QString& sParent, const QString& ParentType) {
    parents_ = sParent;
    parentType_ = ParentType;
}

void dlgAdd::SetFile(const QString& sFile) { ui_->txtFile->setText(sFile); }

void dlgAdd::ResetEntries() {
    ui_->optImport->setChecked(true);
    ui_->txtFile->clear();
    ui_->txtName->clear();
    ui_->txtDescription->clear();
    ui_->txtWords->clear();
}

// Switching modes clears no box: what was typed in the other mode's box stays there, disabled.
void dlgAdd::ApplyMode() {
    const bool importing = ui_->optImport->isChecked();
    for (QWidget* box : std::initializer_list<QWidget*>{ui_->txtName, ui_->txtDescription, ui_->txtWords})
        enableBox(box, true);
    enableBox(ui_->txtFile, importing);
    ui_->cmdExplorer->setEnabled(importing);
    enableBox(ui_->txtURL, !importing);
}

bool dlgAdd::ValidateEntries() {
    if (ui_->optImport->isChecked()) {
        if (isBlank(ui_->txtFile->text())) return refuse(tr("Introduzca ruta del archivo"), ui_->cmdExplorer);
    } else if (isBlank(ui_->txtURL->text())) {
        return refuse(tr("Introduzca la URL que enlaza el archivo"), ui_->txtURL);
    }
    if (isBlank(ui_->txtName->text())) return refuse(tr("Introduzca nombre del archivo"), ui_->txtName);
    return true;
}

bool dlgAdd::refuse(const QString& message, QWidget* focus) {
    msgBox(message, vbOKOnly);
    focus->setFocus();
    return false;
}

// A name the user already entered is never replaced.
void dlgAdd::proposeName() {
    const QString file = ui_->txtFile->text();
    if (file.isEmpty() || !isBlank(ui_->txtName->text())) return;
    ContinueOnFailure([&] { ui_->txtName->setText(Required(services_).FileBaseName(file)); });
}

void dlgAdd::chooseFile() {
    ContinueOnFailure([this] {
        const QString path = ChooseFile(PictureFilter(), CMD);
        if (path.isEmpty()) return;
        ui_->txtFile->setText(path);
        ui_->txtDescription->setFocus();
    });
}

void dlgAdd::storeAndLink() {
    switch (tryStoreAndLink()) {
    case Outcome::Invalid: return;
    case Outcome::LinkRefused:
        msgBox(tr("El documento se guardó, pero no tiene los privilegios para vincularlo"), vbInformation,
               ProductTitle);
        return;
    case Outcome::Linked: accepted_ = true; break;
    case Outcome::Failed:
        ContinueOnFailure([] { msgBox(Required(gManager).LastErrDescrip(), vbInformation, ProductTitle); });
        accepted_ = false;
        break;
    }
    hide();
}

dlgAdd::Outcome dlgAdd::tryStoreAndLink() {
    try {
        const Hourglass hourglass(*this);
        if (!ValidateEntries()) return Outcome::Invalid;
        const QString guid = storeDocument();
        if (guid.isEmpty()) return Outcome::Failed;
        if (!HoldsRight(&Manager::CanAddLink)) return Outcome::LinkRefused;
        return linkToParents(guid) ? Outcome::Linked : Outcome::Failed;
    } catch (...) {
        return Outcome::Failed;
    }
}

// The name loses its outer spaces; the path, URL, description and keywords go as typed.
QString dlgAdd::storeDocument() {
    Manager& manager = Required(gManager);
    const QString name = ui_->txtName->text().trimmed();
    const QString description = ui_->txtDescription->text();
    const QString keywords = ui_->txtWords->toPlainText();
    if (ui_->optURL->isChecked())
        return manager.StoreDocument(name, description, keywords, QString(), ui_->txtURL->text(), true);
    const QString file = ui_->txtFile->text();
    return manager.StoreDocument(name, description, keywords, miniatureOf(file), file, false);
}

// With documentMiniatures on, pictures too go to the extraction program: it turns them as their
// EXIF orientation says, and no picture decoder runs in the host's process for them either.
QString dlgAdd::miniatureOf(const QString& file) {
    if (Required(gManager).documentMiniatures()) return ExtractedMiniatureToStore(file, miniatureReader_);
    return MiniatureToStore(file, picMiniature);
}

// Stops at the first parent that cannot be linked; the links made before it stay.
bool dlgAdd::linkToParents(const QString& guid) {
    const QStringList parents = parents_.isEmpty() ? QStringList() : parents_.split(QLatin1Char(','));
    for (const QString& parent : parents)
        if (!Required(gManager).AddLink(parent, guid, parentType_, true)) return false;
    return true;
}

void dlgAdd::cancel() {
    accepted_ = false;
    hide();
}

}  // namespace dorvanel
