#include "dialogs/DialogFrame.h"

#include "component/HostClasses.h"
#include "component/HostControl.h"
#include "component/Oskel.h"
#include "dialogs/SetUpHostControl.h"
#include "platform/Error.h"
#include "platform/WindowDesign.h"
#include "repository/FailureStyles.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPushButton>

namespace dorvanel {

namespace {

// The captions were measured for an 8-point face narrower than the desktops' usual sans serif
// (in DejaVu Sans "Palabras clave:" is 83 pixels wide at 96 dpi, its box 75). A condensed or
// narrow face of that size fits every caption of the four dialogs at any resolution, since
// points and twips grow alike with the dots per inch. The first of these the machine has is
// taken; DejaVu Sans Condensed comes with Debian's fonts-dejavu-extra.
const QStringList CaptionFamilies{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                                  QStringLiteral("Arial Narrow")};
constexpr int CaptionPointSize = 8;

// A control that names a face of its own (the bold Tahoma of a description label) keeps it
// where the machine has it, and otherwise falls back to the dialog's face, not the desktop's.
void useCaptionFont(QWidget& dialog) {
    QFont font = dialog.font();
    font.setFamilies(CaptionFamilies);
    font.setPointSize(CaptionPointSize);
    dialog.setFont(font);
    for (auto* child : dialog.findChildren<QWidget*>()) {
        if (!(child->font().resolveMask() & QFont::FamilyResolved)) continue;
        QFont own = child->font();
        if (QFontInfo(own).family() == own.family()) continue;
        own.setFamilies(QStringList{own.family()} + CaptionFamilies);
        child->setFont(own);
    }
}

}  // namespace

DialogFrame::DialogFrame(const Design& design) : QDialog(nullptr, FixedWindowFlags), design_(design) {
    placeHostControl();
}

// A host may keep its control beyond the dialog: taken out of the dialog's children, it ends
// only with its last owner, never twice.
DialogFrame::~DialogFrame() {
    if (auto* widget = dynamic_cast<QWidget*>(axKivra_.get())) widget->setParent(nullptr);
}

void DialogFrame::requireWindowing() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw Error(Error::Unexpected, QCoreApplication::translate("dorvanel::DialogFrame",
                                                                   "Los diálogos necesitan una sesión con ventanas"));
}

void DialogFrame::placeHostControl() {
    axKivra_ = createHostControl();
    axKivra_->SetProperty(QStringLiteral("modulo"), design_.modulo);
    SetUpHostControl(*axKivra_);
    // Shown only once it took every property, so that a refusing control is never a child.
    if (auto* widget = dynamic_cast<QWidget*>(axKivra_.get())) {
        widget->setParent(this);
        widget->setObjectName(QStringLiteral("axKivra"));
        widget->setGeometry(designPixels(design_.hostControlTwips));
    }
}

void DialogFrame::finishLayout() {
    useCaptionFont(*this);
    scaleToScreen();
    // A button of a dialog presses itself on Enter while it has the focus unless told otherwise.
    for (auto* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
}

void DialogFrame::scaleToScreen() { scaleDesignToScreen(*this, design_.clientTwips); }

void DialogFrame::showHelp(const std::shared_ptr<Oskel>& services) {
    ContinueOnFailure([&] { Required(services).ShowHelp(static_cast<qint32>(winId()), design_.helpContext); });
}

void DialogFrame::keyPressEvent(QKeyEvent* event) {
    // QDialog would press the default button on Enter and close on Escape.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    default: QDialog::keyPressEvent(event);
    }
}

}  // namespace dorvanel
