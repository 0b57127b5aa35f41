#include "repository/DownloadPage.h"
#include "repository/DownloadPageText.h"

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
    file.write(downloadPageText(QStringLiteral("/tmp/temp.pdf")).toUtf8());
    file.close();

    bool inspected = false;
    whenModalShown([&](QWidget* dialog) {
        auto* browser = dialog->findChild<QTextBrowser*>(QStringLiteral("WB"));
        auto* close = dialog->findChild<QPushButton*>(QStringLiteral("cmdCerrar"));
        ASSERT_TRUE(browser && close);
        EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Pulse aquí para descargar el archivo.")));
        EXPECT_TRUE(browser->toHtml().contains(QStringLiteral("/tmp/temp.pdf")));
        inspected = true;
        QTest::mouseClick(close, Qt::LeftButton);
    });
    ShowDownloadPage(page);
    EXPECT_TRUE(inspected);
}

TEST(DownloadPage, LocationIsOnlyEverTheLinksTarget) {
    const struct {
        QString location;
        QString anchor;  // how the page's link starts
    } cases[] = {
        {QStringLiteral("a\"><img src=x onerror=alert(1)>"),
         QStringLiteral("<a href=\"a&quot;&gt;&lt;img src=x onerror=alert(1)&gt;\" target=")},
        {QStringLiteral("https://example.com/?a=1&b=2"),
         QStringLiteral("<a href=\"https://example.com/?a=1&amp;b=2\" target=")},
        {QStringLiteral(" JavaScript:alert(1)"), QStringLiteral("<a target=")},
        {QStringLiteral("vbscript:msgbox"), QStringLiteral("<a target=")},
        {QStringLiteral("data:text/html,<b>x</b>"), QStringLiteral("<a target=")},
    };
    for (const auto& c : cases) {
        const QString text = downloadPageText(c.location);
        EXPECT_TRUE(text.startsWith(QStringLiteral("<html><body>") + c.anchor)) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("<img")) || text.contains(QStringLiteral("<b>")))
            << text.toStdString();
    }
}

}  // namespace
