#pragma once

#include "platform/MessageBox.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>

class QWidget;

namespace dorvanel::test {

// Works modal windows as a user would while the call that shows them waits in exec(). Each
// queued step waits until a modal widget is active and has the focus, then acts on it; a step
// that opens a nested modal hands over to the next step, which acts on that one. Message boxes
// are recorded and answered OK, or as told to a question, through the presenter seam. Past the
// timeout every modal window left is closed and the test fails, so that a broken dialog never
// hangs the suite.
class ModalDriver {
public:
    using Step = std::function<void(QWidget* modal)>;

    ModalDriver();
    ~ModalDriver();

    ModalDriver& then(Step step);

    bool ranAllSteps() const { return steps_.empty() && !timedOut_; }

    QStringList messages;     // "text|style|title", one for each message box shown
    bool answersYes = false;  // to a question; No otherwise

    // Acting on the controls of the active modal widget only: Qt Test's widget events ignore
    // modality, so acting on any other window would do what no user could.
    static void click(QWidget* modal, const QString& controlName);
    // Replaces the control's text by typing.
    static void typeInto(QWidget* modal, const QString& controlName, const QString& text);
    // A key pressed on whatever control of the modal widget has the focus.
    static void pressKey(QWidget* modal, Qt::Key key);
    // What the window system sends when the user presses the title bar's close box.
    static void pressCloseBox(QWidget* modal);

private:
    void schedulePoll();
    void poll();
    bool readyFor(QWidget* modal) const;
    void closeLeftover(QWidget* modal);

    // Polls are fresh single-shot timers: a repeating timer would not fire again while its own
    // slot waits in a nested exec(). Ending this object cancels the pending one.
    QObject pollContext_;
    std::deque<Step> steps_;
    QList<QWidget*> busy_;  // modal widgets whose step is still running
    QWidget* lastSeen_ = nullptr;
    QElapsedTimer clock_;
    bool timedOut_ = false;
    MessagePresenter previousPresenter_;
};

}  // namespace dorvanel::test
