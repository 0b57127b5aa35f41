#include "platform/Twips.h"
#include "repository/DownloadName.h"
#include "repository/DownloadPage.h"
#include "repository/DownloadPageText.h"
#include "support/ModalDriver.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

using namespace dorvanel;
using dorvanel::test::contentOf;
using dorvanel::test::ModalDriver;
using dorvanel::test::ScriptedFileDialog;

namespace {

// Three chunks and a bit of every byte value, so that a copy that drops, repeats or stops
// short anywhere shows.
QByteArray documentBytes() {
    QByteArray bytes(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char((i * 7 + i / 4096) & 0xff);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The page SaveAs writes, linking to location, as download7.html in folder.
QString writePage(const QString& folder, const QString& location) {
    const QString page = QDir(folder).filePath(QStringLiteral("download7.html"));
    writeFile(page, downloadPageText(location).toUtf8());
    return page;
}

QTextBrowser* browserOf(QWidget* page) { return page->findChild<QTextBrowser*>(QStringLiteral("WB")); }

// The middle of the page's link, in the browser's viewport.
QPoint linkPoint(QTextBrowser* browser) {
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isAnchor()) continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(it.fragment().position() + it.fragment().length() / 2);
            return browser->cursorRect(cursor).center();
        }
    }
    ADD_FAILURE() << "the page has no link";
    return {};
}

void clickLink(QWidget* page) {
    QTextBrowser* browser = browserOf(page);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, linkPoint(browser));
}

// Opens the menu on the link as a right click does; while it shows, choose picks an entry (or
// none) and the entries are kept in shown. A menu left open is closed.
void chooseFromLinkMenu(QWidget* page, const std::function<QAction*(QMenu*)>& choose, QStringList& shown) {
    QTextBrowser* browser = browserOf(page);
    auto inspect = std::make_shared<std::function<void(int)>>();
    *inspect = [&, inspect](int triesLeft) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            if (triesLeft > 0) QTimer::singleShot(10, [inspect, triesLeft] { (*inspect)(triesLeft - 1); });
            if (triesLeft == 0) ADD_FAILURE() << "no menu shown";
            return;
        }
        for (QAction* action : menu->actions()) shown << action->text();
        QAction* chosen = choose(menu);
        if (!chosen) {
            menu->close();
            return;
        }
        menu->setActiveAction(chosen);
        QTest::keyClick(menu, Qt::Key_Return);
    };
    QTimer::singleShot(0, [inspect] { (*inspect)(200); });
    const QPoint at = linkPoint(browser);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, browser->viewport()->mapToGlobal(at));
    QApplication::sendEvent(browser->viewport(), &event);
}

QAction* entry(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

// While it lives, writing a file grows it to one chunk at most, as on a disk that fills up.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    void (*previousHandler_)(int);
    rlimit previous_{};
};

// The page is designed in twips, like the dialogs, and takes the screen's resolution as they do.
// The suite runs this once more on a screen of 144 dpi (DORVANEL_TEST_DPI tells which).
TEST(DownloadPage, ScalesItsDesignToTheScreen) {
    QTemporaryDir dir;
    const QString page = writePage(dir.path(), QStringLiteral("/tmp/temp.pdf"));
    const int dpi = qEnvironmentVariableIsSet("DORVANEL_TEST_DPI") ? qEnvironmentVariableIntValue("DORVANEL_TEST_DPI")
                                                                   : DesignDpi;
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        ASSERT_EQ(modal->logicalDpiX(), dpi);
        EXPECT_EQ(modal->objectName(), QStringLiteral("dlgHtml"));
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Descargar archivo"));
        EXPECT_TRUE(browserOf(modal)->toPlainText().contains(QStringLiteral("Pulse aquí para descargar el archivo.")));
        const auto scaled = [dpi](int twips) { return twipsToPixels(twips, dpi); };
        EXPECT_EQ(modal->minimumSize(), QSize(scaled(4680), scaled(3090)));
        EXPECT_EQ(modal->maximumSize(), modal->minimumSize());
        // Each edge within a pixel of where its twips fall: the design is laid out in whole
        // pixels at 96 dpi first.
        const auto placed = [&](const QWidget* control, int left, int top, int width, int height) {
            const QRect at = control->geometry();
            const QRect designed(QPoint(scaled(left), scaled(top)),
                                 QPoint(scaled(left + width) - 1, scaled(top + height) - 1));
            return std::abs(at.left() - designed.left()) <= 1 && std::abs(at.top() - designed.top()) <= 1 &&
                   std::abs(at.right() - designed.right()) <= 1 && std::abs(at.bottom() - designed.bottom()) <= 1;
        };
        EXPECT_TRUE(placed(browserOf(modal), 15, 15, 4635, 2520));
        auto* close = modal->findChild<QPushButton*>(QStringLiteral("cmdCerrar"));
        EXPECT_TRUE(placed(close, 3060, 2565, 1575, 510));
        EXPECT_TRUE(modal->windowFlags().testFlag(Qt::Tool));
        EXPECT_FALSE(modal->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        ModalDriver::click(modal, QStringLiteral("cmdCerrar"));
    });
    showDownloadPage(page);
    EXPECT_TRUE(driver.ranAllSteps());
}

// Following the link, by a click or through "Guardar como..." on its menu, asks where to save the
// file, proposing the document's name, and copies it there; the page never shows the file. The
// copy replaces an older file only once complete: a cancelled or failed save leaves it whole and
// no partial file beside it.
TEST(DownloadPage, FollowingTheLinkSavesTheFileWhereTheUserSays) {
    enum class Answer { Save, Cancel, SaveOnFullDisk };
    const struct {
        const char* what;
        bool byMenu;
        Answer answer;
        QString documentName;  // as the dialogs hand it on; "" as a host without one
        QString linkedName;
        QString proposed;
    } cases[] = {
        {"the menu, saved under the document's name", true, Answer::Save, QStringLiteral("Contrato"),
         QStringLiteral("temp.pdf"), QStringLiteral("Contrato.pdf")},
        {"a click, saved under the file's own name, which URL syntax would cut", false, Answer::Save, QString(),
         QStringLiteral("informe #3 al 100%20.pdf"), QStringLiteral("informe #3 al 100%20.pdf")},
        {"a name that has its type already", true, Answer::Cancel, QStringLiteral("Plano.PDF"),
         QStringLiteral("temp.pdf"), QStringLiteral("Plano.PDF")},
        {"a disk that fills up midway", false, Answer::SaveOnFullDisk, QStringLiteral("Contrato"),
         QStringLiteral("temp.pdf"), QStringLiteral("Contrato.pdf")},
    };
    const QByteArray content = documentBytes();
    const QByteArray older("el archivo anterior");
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString linked = dir.filePath(c.linkedName);
        writeFile(linked, content);
        const QString page = writePage(dir.path(), linked);
        QDir(dir.path()).mkdir(QStringLiteral("destino"));
        const QString target = dir.filePath(QStringLiteral("destino/copia.pdf"));
        writeFile(target, older);

        QString proposed;
        std::optional<FileSizeLimit> fullDisk;
        ScriptedFileDialog script([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Guardar como")) << c.what;
            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave) << c.what;
            EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog)) << c.what;
            proposed = QFileInfo(dialog.selectedFiles().value(0)).fileName();
            if (c.answer == Answer::Cancel) return int(QDialog::Rejected);
            if (c.answer == Answer::SaveOnFullDisk) fullDisk.emplace(1024 * 1024);
            dialog.selectFile(target);
            return int(QDialog::Accepted);
        });
        QStringList menuEntries;
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            if (c.byMenu) {
                chooseFromLinkMenu(
                    modal, [](QMenu* menu) { return entry(menu, QStringLiteral("&Guardar como...")); }, menuEntries);
            } else {
                clickLink(modal);
            }
            fullDisk.reset();
            EXPECT_EQ(browserOf(modal)->source(), QUrl::fromLocalFile(page))
                << c.what << ": the page shows only itself";
            ModalDriver::click(modal, QStringLiteral("cmdCerrar"));
        });
        {
            const DownloadName naming(c.documentName);
            showDownloadPage(page);
        }
        EXPECT_TRUE(driver.ranAllSteps()) << c.what;
        EXPECT_EQ(proposed, c.proposed) << c.what;
        EXPECT_EQ(menuEntries.contains(QStringLiteral("&Guardar como...")), c.byMenu) << c.what;
        const bool saved = c.answer == Answer::Save;
        EXPECT_TRUE(contentOf(target) == (saved ? content : older)) << c.what;
        EXPECT_EQ(QDir(dir.filePath(QStringLiteral("destino"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("copia.pdf")})
            << c.what << ": no partial file";
        const bool failed = c.answer == Answer::SaveOnFullDisk;
        EXPECT_EQ(driver.messages.size(), failed ? 1 : 0) << c.what << ' ' << driver.messages.join('\n').toStdString();
        EXPECT_EQ(driver.messages.value(0).contains(QStringLiteral("copia.pdf")), failed) << c.what;
    }
}

// The menu on the link offers saving and opening, in Spanish only; on the rest of the page, the
// text's own entries. An outside address is handed to the desktop, never saved.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(DownloadPage, MenusSpeakSpanishAndOutsideAddressesGoToTheDesktop) {
    QTemporaryDir dir;
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &desktop, "open");
    ScriptedFileDialog noDialog([](QFileDialog&) {
        ADD_FAILURE() << "an outside address is not saved";
        return int(QDialog::Rejected);
    });
    QStringList onFile, onAddress;
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        chooseFromLinkMenu(
            modal, [](QMenu*) { return nullptr; }, onFile);
        ModalDriver::click(modal, QStringLiteral("cmdCerrar"));
    });
    showDownloadPage(writePage(dir.path(), dir.filePath(QStringLiteral("temp.pdf"))));
    driver.then([&](QWidget* modal) {
        clickLink(modal);
        chooseFromLinkMenu(
            modal, [](QMenu* menu) { return entry(menu, QStringLiteral("&Abrir")); }, onAddress);
        ModalDriver::click(modal, QStringLiteral("cmdCerrar"));
    });
    showDownloadPage(writePage(dir.path(), QStringLiteral("https://example.org/catalogo #2.pdf")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_TRUE(driver.ranAllSteps());
    EXPECT_EQ(onFile, (QStringList{QStringLiteral("&Guardar como..."), QStringLiteral("&Abrir"),
                                   QStringLiteral("&Copiar la dirección del enlace")}));
    EXPECT_EQ(onAddress, (QStringList{QStringLiteral("&Abrir"), QStringLiteral("&Copiar la dirección del enlace")}));
    const QUrl address(QStringLiteral("https://example.org/catalogo #2.pdf"));
    EXPECT_EQ(desktop.opened, (QList<QUrl>{address, address}));
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

#include "DownloadPageTest.moc"
