#include "dialogs/DialogFrame.h"

#include "component/HostClasses.h"
#include "component/HostControl.h"
#include "component/Oskel.h"
#include "dialogs/SetUpHostControl.h"
#include "platform/Error.h"
#include "platform/Twips.h"
#include "repository/FailureStyles.h"

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPushButton>

namespace dorvanel {

namespace {

// The forms hold their pixel geometry at the design's resolution.
QRect designPixels(const QRect& twips) {
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
            twipsToPixels(twips.height())};
}

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

// Edges rather than sizes are rounded, so that controls that meet or stand apart at the
// design's resolution do so at every other.
QRect scaled(const QRect& g, double x, double y) {
    const int left = qRound(g.x() * x);
    const int top = qRound(g.y() * y);
    return {left, top, qRound((g.x() + g.width()) * x) - left, qRound((g.y() + g.height()) * y) - top};
}

// The controls of the form, inside their panels too; not the parts Qt's own widgets are made of.
bool isDesigned(const QWidget& widget) {
    return !widget.objectName().isEmpty() && !widget.objectName().startsWith(QLatin1String("qt_"));
}

}  // namespace

// A tool window keeps the dialog out of the task bar; the hints leave the title bar only its
// close box. A dialog without an owner is centred on the screen when it shows.
DialogFrame::DialogFrame(const Design& design)
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      design_(design) {
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
    useCaptionFont(*this);
    scaleToScreen();
    // A button of a dialog presses itself on Enter while it has the focus unless told otherwise.
    for (auto* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
}

void DialogFrame::scaleToScreen() {
    setFixedSize(twipsToPixels(design_.clientTwips.width(), logicalDpiX()),
                 twipsToPixels(design_.clientTwips.height(), logicalDpiY()));
    const double x = logicalDpiX() / double(DesignDpi);
    const double y = logicalDpiY() / double(DesignDpi);
    if (x == 1.0 && y == 1.0) return;
    for (auto* child : findChildren<QWidget*>()) {
        if (!isDesigned(*child)) continue;
        child->setGeometry(scaled(child->geometry(), x, y));
    }
}

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
