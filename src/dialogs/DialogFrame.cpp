#include "dialogs/DialogFrame.h"

#include "component/HostClasses.h"
#include "component/HostControl.h"
#include "component/Oskel.h"
#include "dialogs/SetUpHostControl.h"
#include "platform/Error.h"
#include "platform/WindowDesign.h"
#include "repository/FailureStyles.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace dorvanel {

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
        throw Error(Error::Unexpected, QStringLiteral("Los diálogos necesitan una sesión con ventanas"));
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
