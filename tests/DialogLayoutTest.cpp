// The four dialogs on screens of other resolutions: every caption whole, no control over another.
// A screen's resolution is fixed for a process, so each resolution runs the dialogs in a child
// process of this test program, on Qt's off-screen platform set to it and without Qt's own
// scaling, so that the dialogs scale their twips themselves.

#include "dialogs/ImageBox.h"
#include "dialogs/dlgAdd/dlgAdd.h"
#include "dialogs/dlgBrowse/dlgBrowse.h"
#include "dialogs/dlgEdit/dlgEdit.h"
#include "dialogs/dlgFind/dlgFind.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <functional>
#include <memory>

using namespace dorvanel;

namespace {

const char* const DpiVariable = "DORVANEL_TEST_SCREEN_DPI";

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
    // Sibling controls whose designed boxes overlap (a label's box running under the text box
    // beside it, the host control over the bottom panel, the description over the check box).
    QSet<QString> designedOverlaps;
};

const DialogCase Dialogs[] = {
    {"dlgAdd", [] { return std::make_unique<dlgAdd>(); }, {QStringLiteral("Label2+txtDescription")}},
    {"dlgEdit",
     [] { return std::make_unique<dlgEdit>(); },
     {QStringLiteral("Label1+txtName"), QStringLiteral("Label2+txtDescription")}},
    {"dlgFind",
     [] { return std::make_unique<dlgFind>(); },
     {QStringLiteral("Picture2+axKivra"), QStringLiteral("chkView+lblDescrip")}},
    {"dlgBrowse", [] { return std::make_unique<dlgBrowse>(); }, {}},
};

QList<QWidget*> designedControls(QWidget& dialog) {
    QList<QWidget*> controls;
    for (auto* child : dialog.findChildren<QWidget*>())
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_")) &&
            !child->isHidden())
            controls << child;
    return controls;
}

// The room a button's style leaves for its text, beside the check mark or inside the bevel.
QRect textRoom(QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QStyle::SubElement contents = qobject_cast<QCheckBox*>(&button)      ? QStyle::SE_CheckBoxContents
                                        : qobject_cast<QRadioButton*>(&button) ? QStyle::SE_RadioButtonContents
                                                                               : QStyle::SE_PushButtonContents;
    return button.style()->subElementRect(contents, &option, &button);
}

void expectCaptionsWhole(QWidget& dialog, const std::string& where) {
    for (auto* label : dialog.findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        const QRect room = label->contentsRect();
        const int flags = label->wordWrap() ? int(Qt::TextWordWrap) : 0;
        const QRect needed = label->fontMetrics().boundingRect(room, flags, label->text());
        EXPECT_TRUE(needed.width() <= room.width() && needed.height() <= room.height())
            << where << ' ' << label->objectName().toStdString() << " needs " << needed.width() << 'x'
            << needed.height() << ", has " << room.width() << 'x' << room.height();
    }
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
        const QString text = QString(button->text()).remove(QLatin1Char('&'));
        const int needed = button->fontMetrics().horizontalAdvance(text);
        EXPECT_LE(needed, textRoom(*button).width()) << where << ' ' << button->objectName().toStdString();
    }
}

void expectNoOverlaps(QWidget& dialog, const DialogCase& dialogCase, const std::string& where) {
    const QList<QWidget*> controls = designedControls(dialog);
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            QWidget* a = controls[i];
            QWidget* b = controls[j];
            if (a->parentWidget() != b->parentWidget() || !a->geometry().intersects(b->geometry())) continue;
            QStringList pair{a->objectName(), b->objectName()};
            pair.sort();
            EXPECT_TRUE(dialogCase.designedOverlaps.contains(pair.join(QLatin1Char('+'))))
                << where << ": " << pair.join(QLatin1String(" over ")).toStdString();
        }
}

// A picture of black and white squares, stretched into the browse dialog's miniature box:
// smoothing brings greys between them, pixel doubling none.
void expectMiniatureSmoothed(QWidget& dialog, const std::string& where) {
    QImage checker(2, 2, QImage::Format_RGB32);
    checker.fill(Qt::white);
    checker.setPixel(0, 0, qRgb(0, 0, 0));
    checker.setPixel(1, 1, qRgb(0, 0, 0));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("checker.bmp"));
    ASSERT_TRUE(checker.save(file));
    auto* box = dialog.findChild<ImageBox*>(QStringLiteral("imgView"));
    box->LoadPicture(file);
    const QImage shown = box->grab().toImage();
    QSet<int> greys;
    for (int x = 0; x < shown.width(); ++x) greys.insert(qGray(shown.pixel(x, shown.height() / 4)));
    EXPECT_GT(greys.size(), 8) << where;
}

// Runs in the child process only.
TEST(DialogLayoutOnThisScreen, CaptionsWholeNoOverlapsSmoothMiniatures) {
    const int dpi = qEnvironmentVariableIntValue(DpiVariable);
    if (dpi == 0) GTEST_SKIP() << "run by DialogLayout.AtEveryResolution with " << DpiVariable << " set";
    for (const DialogCase& dialogCase : Dialogs) {
        const std::string where = std::string(dialogCase.name) + " at " + std::to_string(dpi) + " dpi";
        const std::unique_ptr<QWidget> dialog = dialogCase.make();
        ASSERT_EQ(dialog->logicalDpiX(), dpi) << where;
        expectCaptionsWhole(*dialog, where);
        expectNoOverlaps(*dialog, dialogCase, where);
        if (QLatin1String(dialogCase.name) == QLatin1String("dlgBrowse")) expectMiniatureSmoothed(*dialog, where);
    }
}

TEST(DialogLayout, AtEveryResolution) {
    QTemporaryDir dir;
    for (const int dpi : {96, 120, 144, 192}) {
        const QString config = dir.filePath(QStringLiteral("screen%1.json").arg(dpi));
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"screens": [{"name": "pantalla", "width": 2560, "height": 1600,
                                      "logicalDpi": %1, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(dpi)
                       .toUtf8());
        file.close();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(DpiVariable), QString::number(dpi));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
        environment.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=DialogLayoutOnThisScreen.*")});
        ASSERT_TRUE(child.waitForFinished(60000)) << dpi;
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_TRUE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                    !output.contains(QLatin1String("[  SKIPPED ]")))
            << "at " << dpi << " dpi:\n"
            << output.toStdString();
    }
}

}  // namespace
