#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>
#include <memory>

namespace dorvanel {

class HostControl;
class Oskel;

// What the document dialogs share: a fixed-size window with only a close box and no task-bar
// entry, centred when shown; the host form control axKivra, set up as the dialog loads; a help
// button; and no button that answers Enter or Escape.
class DialogFrame : public QDialog {
    Q_OBJECT
public:
    // Sizes and positions are in twips, as the dialogs are designed.
    struct Design {
        QSize clientTwips;
        QString modulo;
        QRect hostControlTwips;
        qint32 helpContext;
    };

    ~DialogFrame() override;

    // Dialogs are windows: without a QApplication none can be made, and this raises Error.
    static void requireWindowing();

protected:
    // Creates and sets up the host control; a control that refuses a property raises Error.
    explicit DialogFrame(const Design& design);

    // To be called once the form's controls exist.
    void finishLayout();
    // Asks the services object for this dialog's help page; every failure is ignored.
    void showHelp(const std::shared_ptr<Oskel>& services);

    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeHostControl();
    void scaleToScreen();

    const Design design_;
    std::shared_ptr<HostControl> axKivra_;
};

}  // namespace dorvanel
