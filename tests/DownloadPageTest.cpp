#include "repository/DownloadPage.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>

using namespace dorvanel;

namespace {

// Runs `inspect` on the modal dialog once it is shown, while the call that shows it waits.
void whenModalShown(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, [inspect = std::move(inspect)] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr) << "no modal dialog is shown";
        inspect(dialog);
    });
}

TEST(DownloadPage, ShowsThePageWithItsLinkUntilClosed) {
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("download7.html"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(DownloadPageText(QStringLiteral("/tmp/temp.pdf")).toUtf8());
    file.close();

    bool inspected = false;
    whenModalShown([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Descargar archivo"));
        EXPECT_EQ(dialog->size(), QSize(312, 206)) << "4680 x 3090 twips";
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::Tool));
        auto* browser = dialog->findChild<QTextBrowser*>(QStringLiteral("WB"));
        auto* close = dialog->findChild<QPushButton*>(QStringLiteral("cmdCerrar"));
        ASSERT_TRUE(browser && close);
        EXPECT_EQ(close->text(), QStringLiteral("&Cerrar"));
        EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Pulse aquí para descargar el archivo.")));
        EXPECT_TRUE(browser->toHtml().contains(QStringLiteral("/tmp/temp.pdf")));
        inspected = true;
        QTest::mouseClick(close, Qt::LeftButton);
    });
    ShowDownloadPage(page);
    EXPECT_TRUE(inspected);
}

TEST(DownloadPage, MarkupInALocationStaysText) {
    const QString text = DownloadPageText(QStringLiteral("a\"><img src=x onerror=alert(1)>"));
    EXPECT_FALSE(text.contains(QStringLiteral("<img")));
    EXPECT_TRUE(text.contains(QStringLiteral("href=\"a&quot;&gt;&lt;img src=x onerror=alert(1)&gt;\"")));
}

}  // namespace
