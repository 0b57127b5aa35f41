#pragma once

#include "component/HostClasses.h"
#include "component/UserRights.h"
#include "dialogs/ImageBox.h"
#include "dialogs/lists/ReportListView.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "support/ModalDriver.h"
#include "support/RepositoryTest.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QWidget>

namespace dorvanel::test {

// Answers CheckItem as scripted and notes whether the hourglass showed when it was asked.
class ScriptedRights : public UserRights {
public:
    explicit ScriptedRights(std::optional<bool> answer) : answer_(answer) {}
    std::optional<bool> CheckItem(const QString& item) override {
        const QWidget* dialog = QApplication::activeModalWidget();
        asked << item + (dialog && dialog->cursor().shape() == Qt::WaitCursor ? QStringLiteral(" (hourglass)")
                                                                              : QString());
        return answer_;
    }
    QStringList asked;

private:
    std::optional<bool> answer_;
};

template <typename Box = QWidget>
Box* box(QWidget* modal, const char* name) {
    return modal->findChild<Box*>(QLatin1String(name));
}

// A picture file's bytes: a plain colour of the given size, as BMP.
inline QByteArray bmpPicture(QSize size, QColor colour = Qt::darkBlue) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return buffer.data();
}

// The pictures the find and browse dialogs show, told apart by their sizes: a stored miniature
// (as the tests store them), the not-available picture beside the library, the built-in one.
inline const QSize MiniatureSize{120, 90};
inline const QSize NotAvailableSize{168, 152};
inline const QSize BuiltInSize{94, 94};

inline ReportListView* documentList(QWidget* modal) { return modal->findChild<ReportListView*>("lvwDocs"); }
inline QSize shownPicture(QWidget* modal) { return modal->findChild<ImageBox*>("imgView")->Picture().size(); }

// What the dialog's frame gives every host control, in order, as "name=value".
inline QStringList hostProperties(const QString& module) {
    const QStringList parts = QStringLiteral(DORVANEL_TEST_PROJECT_VERSION).split(QLatin1Char('.'));
    return {QStringLiteral("modulo=") + module, QStringLiteral("Nombre=Dorvanel.dll"),
            QStringLiteral("Ubicacion=") + ComponentFile::folder(),
            QStringLiteral("Version=%1.%2.0.%3").arg(parts[0], parts[1], parts[2])};
}

// Title, client size at 96 dpi, the default host control's properties and the focus order from
// the first control through one Tab press for each further name.
inline void expectFrame(QWidget* modal, const QString& title, QSize size, const QString& module,
                        const QString& focusOrder) {
    ASSERT_EQ(modal->logicalDpiX(), 96) << "the size below is for 96 dpi";
    EXPECT_EQ(modal->windowTitle(), title);
    EXPECT_EQ(modal->minimumSize(), size);
    EXPECT_EQ(modal->maximumSize(), size);
    QStringList properties;
    for (const QString& expected : hostProperties(module)) {
        const QString name = expected.section(QLatin1Char('='), 0, 0);
        properties << name + QLatin1Char('=') + box(modal, "axKivra")->property(name.toLatin1()).toString();
    }
    EXPECT_EQ(properties, hostProperties(module));
    QStringList order{QApplication::focusWidget()->objectName()};
    while (order.size() < focusOrder.count(QLatin1Char(' ')) + 1) {
        ModalDriver::pressKey(modal, Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order.join(QLatin1Char(' ')), focusOrder);
}

// The ways out of a dialog that keep nothing: its cancel button, the close box, and Return, Enter
// and Escape on each of the given controls, which must leave it open, before the close box.
inline std::vector<std::pair<const char*, ModalDriver::Step>> waysOut(const char* cancel,
                                                                      std::initializer_list<const char*> focuses) {
    const std::vector<const char*> onto(focuses);
    return {{"cancel button", [=](QWidget* modal) { ModalDriver::click(modal, QLatin1String(cancel)); }},
            {"close box", ModalDriver::pressCloseBox},
            {"Return, Enter and Escape", [=](QWidget* modal) {
                 for (const char* focus : onto) {
                     box(modal, focus)->setFocus();
                     for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                         ModalDriver::pressKey(modal, key);
                         EXPECT_TRUE(modal->isVisible()) << focus << " key " << key;
                     }
                 }
                 ModalDriver::pressCloseBox(modal);
             }}};
}

// A repository test that restores the registered host classes after each test, and on demand
// between the rows of a table.
class DialogTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        registered_ = HostClasses::Registered();
    }
    void TearDown() override {
        restoreHostClasses();
        RepositoryTest::TearDown();
    }
    void restoreHostClasses() { HostClasses::Registered() = registered_; }

    // Opens a dialog through `open` and works it with `steps`; every step must run. Returns what
    // `open` returned; the message boxes shown are left in `shown`.
    template <typename Open, typename... Steps>
    bool drive(Open open, Steps... steps) {
        ModalDriver driver;
        driver.answersYes = answerYes;
        (driver.then(steps), ...);
        const bool result = open();
        EXPECT_TRUE(driver.ranAllSteps());
        shown = driver.messages;
        return result;
    }

    // Expects `open` to fail with the given error number before any window shows.
    template <typename Open>
    void expectLoadFailure(Open open, qint32 number) {
        bool opened = false;
        ModalDriver driver;
        driver.then([&](QWidget*) { opened = true; });
        try {
            open();
            ADD_FAILURE() << "no failure raised";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), number);
        }
        EXPECT_FALSE(opened);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    QStringList shown;       // "text|style|title" of the message boxes of the last drive()
    bool answerYes = false;  // what drive() answers to a question

private:
    HostClasses registered_;
};

}  // namespace dorvanel::test
