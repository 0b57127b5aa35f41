#pragma once

#include "component/HostClasses.h"
#include "component/UserRights.h"
#include "dialogs/ImageBox.h"
#include "dialogs/lists/ReportListView.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "support/ModalDriver.h"
#include "support/PictureBytes.h"
#include "support/RepositoryTest.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QImage>
#include <QTest>
#include <QWidget>

namespace dorvanel::test {

// Answers CheckItem with `answer`, false for the items in `refused`.
class ScriptedRights : public UserRights {
public:
    explicit ScriptedRights(std::optional<bool> answer, QStringList refused = {})
        : answer_(answer), refused_(std::move(refused)) {}
    std::optional<bool> CheckItem(const QString& item) override { return refused_.contains(item) ? false : answer_; }

private:
    std::optional<bool> answer_;
    QStringList refused_;
};

template <typename Box = QWidget>
Box* box(QWidget* modal, const char* name) {
    return modal->findChild<Box*>(QLatin1String(name));
}

inline void click(QWidget* modal, const char* name) { ModalDriver::click(modal, QLatin1String(name)); }
inline ModalDriver::Step clicking(const char* name) {
    return [=](QWidget* modal) { click(modal, name); };
}

// The pictures the find and browse dialogs show, told apart by their sizes: a stored miniature
// (as the tests store them), the not-available picture beside the library, the built-in one.
inline const QSize MiniatureSize{120, 90};
inline const QSize NotAvailableSize{168, 152};
inline const QSize BuiltInSize{94, 94};

inline ReportListView* documentList(QWidget* modal) { return modal->findChild<ReportListView*>("lvwDocs"); }
inline QSize shownPicture(QWidget* modal) { return modal->findChild<ImageBox*>("imgView")->Picture().size(); }

// A column of a dialog's document list as the user meets it: its heading, the start of what the
// one listed document shows in it, and whether it is seen (the keys' columns are kept unseen).
struct ListedColumn {
    QString heading;
    QString cellStart;
    bool seen;
};

inline void expectColumns(QWidget* modal, const QList<ListedColumn>& columns) {
    const ReportListView* view = documentList(modal);
    const QAbstractItemModel* model = view->model();
    ASSERT_EQ(model->rowCount(), 1);
    ASSERT_EQ(model->columnCount(), columns.size());
    for (int c = 0; c < columns.size(); ++c) {
        const ListedColumn& column = columns[c];
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), column.heading) << c;
        const QString cell = model->index(0, c).data().toString();
        EXPECT_TRUE(cell.startsWith(column.cellStart)) << column.heading.toStdString() << ": " << cell.toStdString();
        EXPECT_NE(view->isColumnHidden(c), column.seen) << column.heading.toStdString();
    }
}

// Clicks the list's row whose name is given, as a user would.
inline void clickRow(QWidget* modal, const QString& name) {
    ReportListView* view = documentList(modal);
    const qint32 item = view->FindItem(name);
    ASSERT_NE(item, 0) << name.toStdString();
    const QRect row = view->visualRect(view->model()->index(item - 1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
}

// A failure as the dialogs report it: an information box with the product's title.
inline QString informed(const QString& text) { return text + QStringLiteral("|64|Brenmoria 2014"); }

// What the dialog's frame gives every host control, in order, as "name=value".
inline QStringList hostProperties(const QString& module) {
    const QStringList parts = QStringLiteral(DORVANEL_TEST_PROJECT_VERSION).split(QLatin1Char('.'));
    return {QStringLiteral("modulo=") + module, QStringLiteral("Nombre=Dorvanel.dll"),
            QStringLiteral("Ubicacion=") + ComponentFile::folder(),
            QStringLiteral("Version=%1.%2.0.%3").arg(parts[0], parts[1], parts[2])};
}

// Title, fixed client size at 96 dpi and the focus order from the first control through one Tab
// press for each further name.
inline void expectFrame(QWidget* modal, const QString& title, QSize size, const QString& focusOrder) {
    ASSERT_EQ(modal->logicalDpiX(), 96) << "the size below is for 96 dpi";
    EXPECT_EQ(modal->windowTitle(), title);
    EXPECT_EQ(modal->minimumSize(), size);
    EXPECT_EQ(modal->maximumSize(), size);
    QStringList order{QApplication::focusWidget()->objectName()};
    while (order.size() < focusOrder.count(QLatin1Char(' ')) + 1) {
        ModalDriver::pressKey(modal, Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order.join(QLatin1Char(' ')), focusOrder);
}

// A repository test that restores the registered host classes after each test, and on demand
// between the rows of a table.
class DialogTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        registered_ = HostClasses::registered();
    }
    void TearDown() override {
        restoreHostClasses();
        RepositoryTest::TearDown();
    }
    void restoreHostClasses() { HostClasses::registered() = registered_; }

    // Opens a dialog through `open` and works it with `steps`; every step must run. Returns what
    // `open` returned; the message boxes shown are left in `shown`.
    template <typename Open>
    bool driveSteps(Open open, const std::vector<ModalDriver::Step>& steps) {
        ModalDriver driver;
        driver.answersYes = answerYes;
        for (const ModalDriver::Step& step : steps) driver.then(step);
        const bool result = open();
        EXPECT_TRUE(driver.ranAllSteps());
        shown = driver.messages;
        return result;
    }
    template <typename Open, typename... Steps>
    bool drive(Open open, Steps... steps) {
        return driveSteps(open, {ModalDriver::Step(steps)...});
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

    // Stores a document whose listed values all differ, created on 3 February 2001 and changed
    // today, and links it to the parent.
    QString storeDistinctDocument(const QString& parent) {
        const QString guid = storeFile(QStringLiteral("Cuaderno"), QStringLiteral("odt"), "c");
        connection->Execute(QStringLiteral("UPDATE Docs SET Sys_DTCreated = '2001-02-03 04:05:06' WHERE Sys_GUID = ?"),
                            {guid});
        link(parent, guid);
        return guid;
    }
    static QString today() { return QDate::currentDate().toString(Qt::ISODate); }

    // A failure the manager recorded before the dialog opened.
    void recordEarlierFailure() {
        manager->SetLastErr(3021);
        manager->SetLastErrDescrip(earlierFailure);
    }
    const QString earlierFailure = QStringLiteral("fallo anterior");

    QStringList shown;       // "text|style|title" of the message boxes of the last drive()
    bool answerYes = false;  // what drive() answers to a question

private:
    HostClasses registered_;
};

}  // namespace dorvanel::test
