#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace dorvanel::test {

namespace {

constexpr int PollMilliseconds = 10;
constexpr qint64 TimeoutMilliseconds = 10000;

QWidget* control(QWidget* modal, const QString& name) {
    auto* found = modal->findChild<QWidget*>(name);
    if (!found) ADD_FAILURE() << "no control " << name.toStdString() << " in the active modal widget";
    return found;
}

}  // namespace

ModalDriver::ModalDriver() {
    previousPresenter_ = setMessagePresenter([this](const QString& text, qint32 style, const QString& title) {
        messages << QStringLiteral("%1|%2|%3").arg(text).arg(style).arg(title);
        if (!asksYesNo(style)) return vbOK;
        return answersYes ? vbYes : vbNo;
    });
    clock_.start();
    schedulePoll();
}

ModalDriver::~ModalDriver() { setMessagePresenter(previousPresenter_); }

ModalDriver& ModalDriver::then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

void ModalDriver::schedulePoll() {
    QTimer::singleShot(PollMilliseconds, &pollContext_, [this] { poll(); });
}

void ModalDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (clock_.hasExpired(TimeoutMilliseconds) && (modal || !steps_.empty())) {
        closeLeftover(modal);
    } else if (!steps_.empty() && readyFor(modal)) {
        const Step step = std::move(steps_.front());
        steps_.pop_front();
        busy_.append(modal);
        // Before the step runs: it may open a nested modal and wait in that one's exec().
        schedulePoll();
        step(modal);
        busy_.removeOne(modal);
        return;
    }
    lastSeen_ = modal;
    schedulePoll();
}

// activeModalWidget() is set as exec() starts, but the focus arrives one event-loop pass later.
bool ModalDriver::readyFor(QWidget* modal) const {
    if (!modal || busy_.contains(modal) || !modal->isActiveWindow()) return false;
    QWidget* focus = QApplication::focusWidget();
    return modal == lastSeen_ || (focus && (focus == modal || modal->isAncestorOf(focus)));
}

void ModalDriver::closeLeftover(QWidget* modal) {
    if (!timedOut_)
        ADD_FAILURE() << "modal driver timed out with " << steps_.size() << " steps left"
                      << (modal ? ", closing " + modal->objectName().toStdString() : std::string());
    timedOut_ = true;
    steps_.clear();
    if (modal) modal->close();
}

void ModalDriver::click(QWidget* modal, const QString& controlName) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(modal, controlName)))
        QTest::mouseClick(button, Qt::LeftButton);
}

void ModalDriver::typeInto(QWidget* modal, const QString& controlName, const QString& text) {
    QWidget* box = control(modal, controlName);
    if (!box) return;
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void ModalDriver::pressKey(QWidget* modal, Qt::Key key) {
    QWidget* focus = modal->focusWidget();
    QTest::keyClick(focus ? focus : modal, key);
}

void ModalDriver::pressCloseBox(QWidget* modal) {
    QCloseEvent event;
    QCoreApplication::sendEvent(modal->windowHandle(), &event);
}

}  // namespace dorvanel::test
