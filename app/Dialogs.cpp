#include "Dialogs.h"

#include "Failure.h"
#include "Texts.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <optional>
#include <utility>

namespace dorvanel::cli {

namespace {

bool offscreenChosenHere = false;

bool hasDisplay() { return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

// The platforms that draw windows nobody sees.
bool drawsOffscreen() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void requireSomeoneSees(bool photographed) {
    if (offscreenChosenHere)
        throw Failure{Failed,
                      Texts::tr("El diálogo necesita una pantalla y no hay ninguna (ni DISPLAY ni WAYLAND_DISPLAY); "
                                "para solo fotografiarlo con --screenshot, use QT_QPA_PLATFORM=offscreen")};
    if (!photographed && drawsOffscreen())
        throw Failure{Failed, Texts::tr("El diálogo necesita una pantalla: con QT_QPA_PLATFORM=%1 nadie lo vería "
                                        "y la orden no terminaría; use --screenshot ARCHIVO")
                                  .arg(QGuiApplication::platformName())};
}

// The focus reaches a modal dialog one event-loop pass after it shows; it has painted by then.
bool readyToPhotograph(QWidget* modal) {
    QWidget* focus = QApplication::focusWidget();
    return modal && modal->isActiveWindow() && focus && (focus == modal || modal->isAncestorOf(focus));
}

constexpr int FrameBorder = 2;
constexpr int TitleBarHeight = 26;

// The dialog's client area in a frame with its title, drawn as the picture cannot show the
// desktop's own, so that the dialog stands out from the window under it.
QPixmap framed(QWidget& dialog) {
    const QPixmap client = dialog.grab();
    QPixmap picture(client.width() + 2 * FrameBorder, client.height() + TitleBarHeight + FrameBorder);
    picture.fill(QColor(44, 72, 118));
    QPainter painter(&picture);
    QFont bold = dialog.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::white);
    painter.drawText(QRect(10, 0, picture.width() - 20, TitleBarHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     dialog.windowTitle());
    painter.drawPixmap(FrameBorder, TitleBarHeight, client);
    return picture;
}

// The backdrop with the framed dialog drawn over it, each where it is on the screen; the
// picture spans both.
QPixmap overBackdrop(QWidget& backdrop, QWidget& dialog) {
    const QRect backdropArea(backdrop.mapToGlobal(QPoint()), backdrop.size());
    const QPixmap dialogPicture = framed(dialog);
    const QRect dialogArea(dialog.mapToGlobal(QPoint(-FrameBorder, -TitleBarHeight)), dialogPicture.size());
    const QRect whole = backdropArea.united(dialogArea);
    QPixmap picture(whole.size());
    picture.fill(Qt::darkGray);
    QPainter painter(&picture);
    painter.drawPixmap(backdropArea.topLeft() - whole.topLeft(), backdrop.grab());
    painter.drawPixmap(dialogArea.topLeft() - whole.topLeft(), dialogPicture);
    return picture;
}

// Writes the next modal dialog, over the backdrop window when there is one, to a PNG file once
// it is painted, then closes it as its Cancel button would. The dialog waits in exec()
// meanwhile, so the polls are fresh zero-delay single-shot timers that its event loop runs;
// ending this object cancels the pending one.
class Screenshot {
public:
    explicit Screenshot(QString file, QWidget* backdrop = nullptr) : file_(std::move(file)), backdrop_(backdrop) {
        schedulePoll();
    }

    // Raises Failure when no dialog was shown or its picture could not be written.
    void requireWritten() const {
        if (!taken_) throw Failure{Failed, Texts::tr("No se mostró ningún diálogo: no se escribió %1").arg(file_)};
        if (!written_) throw Failure{Failed, Texts::tr("No se pudo escribir la imagen %1").arg(file_)};
    }

private:
    void schedulePoll() {
        QTimer::singleShot(0, &pollContext_, [this] { poll(); });
    }

    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!readyToPhotograph(modal)) return schedulePoll();
        taken_ = true;
        written_ = (backdrop_ ? overBackdrop(*backdrop_, *modal) : modal->grab()).save(file_, "PNG");
        modal->close();
    }

    QObject pollContext_;
    QString file_;
    QWidget* backdrop_;
    bool taken_ = false;
    bool written_ = false;
};

}  // namespace

bool windowsAreSeen() { return hasDisplay() && !drawsOffscreen(); }

void requireDesktop(const QString& instead) {
    const QString why =
        !hasDisplay()      ? Texts::tr("no hay ninguna (ni DISPLAY ni WAYLAND_DISPLAY)")
        : drawsOffscreen() ? Texts::tr("con QT_QPA_PLATFORM=%1 no se muestra nada").arg(QGuiApplication::platformName())
                           : QString();
    if (!why.isEmpty())
        throw Failure{Failed, Texts::tr("Abrir un documento en el escritorio necesita una pantalla y %1: no se "
                                        "abrió nada. En su lugar: %2")
                                  .arg(why, instead)};
}

void drawOffscreenWithoutDisplay() {
    if (hasDisplay() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    offscreenChosenHere = true;
}

int runDialog(const std::function<bool()>& show, const QString& screenshotFile) {
    const bool photographed = !screenshotFile.isEmpty();
    requireSomeoneSees(photographed);
    std::optional<Screenshot> screenshot;
    if (photographed) screenshot.emplace(screenshotFile);
    const bool accepted = show();
    if (screenshot) screenshot->requireWritten();
    return accepted ? EXIT_SUCCESS : EXIT_FAILURE;
}

void runWindow(const std::function<QWidget&()>& makeWindow, const std::function<void()>& openDialog,
               const QString& screenshotFile) {
    const bool photographed = !screenshotFile.isEmpty();
    requireSomeoneSees(photographed);
    QWidget& window = makeWindow();
    window.show();
    if (!photographed) {
        QApplication::exec();
        return;
    }
    const Screenshot screenshot(screenshotFile, &window);
    openDialog();
    screenshot.requireWritten();
}

}  // namespace dorvanel::cli
