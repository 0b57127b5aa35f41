#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/UserRights.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "support/ModalDriver.h"
#include "support/RepositoryTest.h"
#include "support/ScriptedFileDialog.h"

#include <QApplication>
#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

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

QByteArray jpeg(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    return buffer.data();
}

template <typename Box>
Box* box(QWidget* modal, const char* name) {
    return modal->findChild<Box*>(QLatin1String(name));
}

// Puts the whole text at once, as pasting it would: typing a path letter by letter proposes a
// name from its first letters.
void paste(QWidget* modal, const char* name, const QString& text) { box<QLineEdit>(modal, name)->setText(text); }

void clickOK(QWidget* modal) { ModalDriver::click(modal, QStringLiteral("cmdOK")); }
void clickCancel(QWidget* modal) { ModalDriver::click(modal, QStringLiteral("cmdCancel")); }

class AddDocumentDlgTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        registered_ = HostClasses::Registered();
        HostClasses::Registered().oskel = [this] { return own; };
        if (IsSkipped()) return;
        manager->SetCanAddLink(QStringLiteral("VINCULAR"));
        picture = writeFile(QStringLiteral("Casa.jpg"), jpeg({400, 300}));
    }
    void TearDown() override {
        HostClasses::Registered() = registered_;
        RepositoryTest::TearDown();
    }

    // Fills the import entries and presses "&Aceptar".
    static ModalDriver::Step importFile(const QString& file, const QString& name = QStringLiteral("Casa")) {
        return [=](QWidget* modal) {
            paste(modal, "txtFile", file);
            ModalDriver::typeInto(modal, QStringLiteral("txtName"), name);
            clickOK(modal);
        };
    }

    // "FK_Parent TypeParent Sis" of every link of the document, by parent.
    QStringList linksOf(const QString& guid) {
        QStringList links;
        auto rows = connection->Execute(
            QStringLiteral("SELECT FK_Parent, TypeParent, Sis FROM DocLink WHERE FK_Doc = ? ORDER BY FK_Parent"),
            {guid});
        for (; rows && !rows->Eof(); rows->MoveNext())
            links << QStringLiteral("%1 %2 %3")
                         .arg(rows->Fields(0).toString(), rows->Fields(1).toString(), rows->Fields(2).toString());
        return links;
    }
    std::shared_ptr<Recordset> lastDocument() {
        return connection->Execute(QStringLiteral("SELECT * FROM Docs ORDER BY Sys_PK DESC"));
    }
    qint32 documentCount() { return rowCount(QStringLiteral("SELECT * FROM Docs")); }

    std::shared_ptr<RecordingOskel> own = std::make_shared<RecordingOskel>();
    QString picture;
    const QString a = Key(QStringLiteral("A")), b = Key(QStringLiteral("B"));

private:
    HostClasses registered_;
};

TEST_F(AddDocumentDlgTest, OpensInImportModeWithItsSizeAndTabOrder) {
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        ASSERT_EQ(modal->logicalDpiX(), 96) << "the size below is for 96 dpi";
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Adjuntar documento"));
        EXPECT_EQ(modal->minimumSize(), QSize(590, 357));
        EXPECT_EQ(modal->maximumSize(), QSize(590, 357));
        EXPECT_EQ(box<QWidget>(modal, "axKivra")->property("modulo").toString(), QStringLiteral("Form/dlgAdd"));
        EXPECT_TRUE(box<QRadioButton>(modal, "optImport")->isChecked());
        QStringList focusOrder{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 9; ++i) {
            ModalDriver::pressKey(modal, Qt::Key_Tab);
            focusOrder << QApplication::focusWidget()->objectName();
        }
        EXPECT_EQ(focusOrder.join(QLatin1Char(' ')),
                  QStringLiteral("txtName txtDescription txtWords optImport txtFile cmdExplorer cmdHelp cmdOK "
                                 "cmdCancel txtName"));
        clickCancel(modal);
    });
    EXPECT_FALSE(manager->AddDocumentDlg(a));
    EXPECT_TRUE(driver.ranAllSteps());
}

TEST_F(AddDocumentDlgTest, ModesEnableAndColourTheirBoxesAndKeepWhatWasTyped) {
    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    ASSERT_NE(window, buttonFace);
    const struct {
        const char* name;
        bool inImport, inUrl;  // enabled in each mode
    } boxes[] = {
        {"txtName", true, true},  {"txtDescription", true, true}, {"txtWords", true, true},
        {"txtFile", true, false}, {"txtURL", false, true},
    };
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        paste(modal, "txtFile", picture);
        for (const bool importing : {false, true, false}) {
            ModalDriver::click(modal, QLatin1String(importing ? "optImport" : "optURL"));
            for (const auto& entry : boxes) {
                const bool enabled = importing ? entry.inImport : entry.inUrl;
                auto* control = box<QWidget>(modal, entry.name);
                EXPECT_EQ(control->isEnabled(), enabled) << entry.name << " importing " << importing;
                EXPECT_EQ(control->palette().color(QPalette::Base), enabled ? window : buttonFace) << entry.name;
            }
            EXPECT_EQ(box<QWidget>(modal, "cmdExplorer")->isEnabled(), importing);
            EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), picture);
            EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Casa"));
        }
        clickCancel(modal);
    });
    EXPECT_FALSE(manager->AddDocumentDlg(a));
    EXPECT_TRUE(driver.ranAllSteps());
}

TEST_F(AddDocumentDlgTest, ImportsAFileWithItsMiniatureAndLinksItToEveryParentInOrder) {
    auto rights = std::make_shared<ScriptedRights>(true);
    manager->SetUM(rights);
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        paste(modal, "txtFile", picture);
        ModalDriver::typeInto(modal, QStringLiteral("txtName"), QStringLiteral("  Casa nueva "));
        ModalDriver::typeInto(modal, QStringLiteral("txtDescription"), QStringLiteral(" fachada "));
        ModalDriver::typeInto(modal, QStringLiteral("txtWords"), QStringLiteral("casa, 2026 "));
        clickOK(modal);
    });
    EXPECT_TRUE(manager->AddDocumentDlg(a + QLatin1Char(',') + b, QStringLiteral("Cliente")));
    EXPECT_TRUE(driver.ranAllSteps());
    EXPECT_TRUE(driver.messages.isEmpty()) << driver.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(rights->asked, QStringList{QStringLiteral("VINCULAR (hourglass)")});
    auto row = lastDocument();
    EXPECT_EQ(row->Fields(QStringLiteral("Name")).toString(), QStringLiteral("Casa nueva"));
    EXPECT_EQ(row->Fields(QStringLiteral("Description")).toString(), QStringLiteral(" fachada "));
    EXPECT_EQ(row->Fields(QStringLiteral("Works")).toString(), QStringLiteral("casa, 2026 "));
    EXPECT_EQ(row->Fields(QStringLiteral("Data")).toByteArray(), jpeg({400, 300}));
    EXPECT_EQ(QImage::fromData(row->Fields(QStringLiteral("MiniData")).toByteArray(), "BMP").size(), QSize(120, 90));
    const QString guid = row->Fields(QStringLiteral("Sys_GUID")).toString();
    EXPECT_EQ(linksOf(guid), QStringList({a + QStringLiteral(" Cliente 1"), b + QStringLiteral(" Cliente 1")}));
}

TEST_F(AddDocumentDlgTest, LinksAUrlWithoutParentsAfterAskingTheRightIgnoringTheFileBox) {
    auto rights = std::make_shared<ScriptedRights>(true);
    manager->SetUM(rights);
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        paste(modal, "txtFile", picture);
        ModalDriver::click(modal, QStringLiteral("optURL"));
        ModalDriver::typeInto(modal, QStringLiteral("txtURL"), QStringLiteral("https://example.com/plano.dwg"));
        ModalDriver::typeInto(modal, QStringLiteral("txtName"), QStringLiteral("Plano"));
        clickOK(modal);
    });
    EXPECT_TRUE(manager->AddDocumentDlg(QString(), QStringLiteral("Obra")));
    EXPECT_TRUE(driver.ranAllSteps());
    auto row = lastDocument();
    EXPECT_EQ(row->Fields(QStringLiteral("Name")).toString(), QStringLiteral("Plano"));
    EXPECT_EQ(row->Fields(QStringLiteral("storeout")).toInt(), 1);
    EXPECT_EQ(row->Fields(QStringLiteral("urlfile")).toString(), QStringLiteral("https://example.com/plano.dwg"));
    EXPECT_TRUE(row->Fields(QStringLiteral("MiniData")).isNull());
    EXPECT_EQ(rights->asked, QStringList{QStringLiteral("VINCULAR (hourglass)")});
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 0);
}

TEST_F(AddDocumentDlgTest, NameIsProposedByTheDialogsOwnServicesButNeverReplacesATypedOne) {
    const QString chosen = writeFile(QStringLiteral("Plano.pdf"), "pdf");
    QStringList filters;
    ScriptedFileDialog script([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        dialog.selectFile(chosen);
        return int(QDialog::Accepted);
    });
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), picture);
        EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Casa"));
        ModalDriver::typeInto(modal, QStringLiteral("txtName"), QStringLiteral("Mi plano"));
        ModalDriver::click(modal, QStringLiteral("cmdExplorer"));
        EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), chosen);
        EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Mi plano"));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("txtDescription"));
        clickCancel(modal);
    });
    EXPECT_FALSE(manager->AddDocumentDlg(a, QString(), picture));
    EXPECT_TRUE(driver.ranAllSteps());
    EXPECT_EQ(filters.first(),
              QStringLiteral("Archivos de Imagenes (*.bmp;*.ico;*.gif;*.jpg) (*.bmp *.ico *.gif *.jpg)"));
    EXPECT_EQ(own->calls, QStringList{QStringLiteral("FileBaseName ") + picture});
    EXPECT_TRUE(oskel->calls.filter(QStringLiteral("FileBaseName")).isEmpty());
}

TEST_F(AddDocumentDlgTest, EachMissingEntryIsToldInTurnAndTakesTheFocus) {
    const struct {
        const char* mode;
        QString file, url, name;
        QString message;
        const char* focus;
    } cases[] = {
        // Both boxes of a mode blank: the path or URL is asked for first.
        {"optImport", QStringLiteral(" "), QString(), QString(), QStringLiteral("Introduzca ruta del archivo"),
         "cmdExplorer"},
        {"optImport", picture, QString(), QStringLiteral("  "), QStringLiteral("Introduzca nombre del archivo"),
         "txtName"},
        {"optURL", picture, QStringLiteral(" "), QString(), QStringLiteral("Introduzca la URL que enlaza el archivo"),
         "txtURL"},
        {"optURL", QString(), QStringLiteral("https://example.com"), QString(),
         QStringLiteral("Introduzca nombre del archivo"), "txtName"},
    };
    for (const auto& c : cases) {
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            ModalDriver::click(modal, QLatin1String(c.mode));
            paste(modal, "txtFile", c.file);
            paste(modal, "txtURL", c.url);
            paste(modal, "txtName", c.name);
            box<QWidget>(modal, "txtDescription")->setFocus();
            clickOK(modal);
            EXPECT_TRUE(modal->isVisible()) << c.message.toStdString();
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.focus)) << c.message.toStdString();
            clickCancel(modal);
        });
        EXPECT_FALSE(manager->AddDocumentDlg(a, QStringLiteral("Cliente")));
        EXPECT_TRUE(driver.ranAllSteps());
        EXPECT_EQ(driver.messages, QStringList{c.message + QStringLiteral("|0|")});
    }
    EXPECT_EQ(documentCount(), 0);
}

TEST_F(AddDocumentDlgTest, CancelTheCloseBoxEnterAndEscapeStoreNothing) {
    const struct {
        const char* what;
        std::function<void(QWidget*)> leave;
    } cases[] = {
        {"Cancelar", clickCancel},
        {"close box", ModalDriver::pressCloseBox},
        {"Enter and Escape, then the close box",
         [](QWidget* modal) {
             for (const char* focus : {"txtName", "cmdOK", "cmdCancel", "cmdExplorer"}) {
                 box<QWidget>(modal, focus)->setFocus();
                 for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                     ModalDriver::pressKey(modal, key);
                     EXPECT_TRUE(modal->isVisible()) << focus << " key " << key;
                 }
             }
             ModalDriver::pressCloseBox(modal);
         }},
    };
    for (const auto& c : cases) {
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            paste(modal, "txtFile", picture);
            c.leave(modal);
        });
        EXPECT_FALSE(manager->AddDocumentDlg(a, QStringLiteral("Cliente"))) << c.what;
        EXPECT_TRUE(driver.ranAllSteps()) << c.what;
        EXPECT_TRUE(driver.messages.isEmpty()) << c.what;
    }
    EXPECT_EQ(documentCount(), 0);
}

TEST_F(AddDocumentDlgTest, RefusedLinkRightKeepsTheDialogOpenAndEachOKStoresACopy) {
    for (const std::optional<bool> answer : {std::optional<bool>(false), std::optional<bool>()}) {
        const qint32 before = documentCount();
        manager->SetUM(std::make_shared<ScriptedRights>(answer));
        const ModalDriver::Step pressOK = [](QWidget* modal) { clickOK(modal); };
        ModalDriver driver;
        driver.then(importFile(picture)).then(pressOK).then(clickCancel);
        EXPECT_FALSE(manager->AddDocumentDlg(a, QStringLiteral("Cliente")));
        EXPECT_TRUE(driver.ranAllSteps());
        const QString refused =
            QStringLiteral("El documento se guardó, pero no tiene los privilegios para vincularlo|64|Brenmoria 2014");
        EXPECT_EQ(driver.messages, QStringList({refused, refused}));
        EXPECT_EQ(documentCount(), before + 2);
        EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 0);
    }
}

TEST_F(AddDocumentDlgTest, FailuresShowLastErrDescripAndHideTheDialogKeepingEarlierLinks) {
    const QString earlier = QStringLiteral("fallo anterior");
    const struct {
        const char* what;
        QString parents, type, file;
        QString reported;
        std::optional<QStringList> links;  // none when nothing is stored
    } cases[] = {
        // StoreDocument tells its own failure first, and records none.
        {"missing file", a, QStringLiteral("Cliente"), QStringLiteral("/no/such/Casa.pdf"), earlier, std::nullopt},
        {"empty piece between commas", a + QStringLiteral(",,") + b, QStringLiteral("Cliente"), picture, earlier,
         QStringList{a + QStringLiteral(" Cliente 1")}},
        {"parent without type or links", b, QString(), picture, QStringLiteral("No existe ParentType"), QStringList()},
    };
    for (const auto& c : cases) {
        manager->SetLastErrDescrip(earlier);
        const qint32 before = documentCount();
        ModalDriver driver;
        driver.then(importFile(c.file));
        EXPECT_FALSE(manager->AddDocumentDlg(c.parents, c.type)) << c.what;
        EXPECT_TRUE(driver.ranAllSteps()) << c.what;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.what;
        ASSERT_FALSE(driver.messages.isEmpty()) << c.what;
        EXPECT_EQ(driver.messages.size(), c.links ? 1 : 2) << c.what;
        EXPECT_EQ(driver.messages.last(), c.reported + QStringLiteral("|64|Brenmoria 2014")) << c.what;
        EXPECT_EQ(documentCount(), before + (c.links ? 1 : 0)) << c.what;
        if (c.links) {
            EXPECT_EQ(linksOf(lastDocument()->Fields(QStringLiteral("Sys_GUID")).toString()), *c.links) << c.what;
        }
    }
}

TEST_F(AddDocumentDlgTest, HelpAsksTheDialogsOwnServicesForContext10100) {
    manager->SetOskel(oskel, QStringLiteral("ayuda.chm"));
    oskel->calls.clear();
    qint32 handle = 0;
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        handle = static_cast<qint32>(modal->winId());
        ModalDriver::click(modal, QStringLiteral("cmdHelp"));
        clickCancel(modal);
    });
    EXPECT_FALSE(manager->AddDocumentDlg(a));
    EXPECT_TRUE(driver.ranAllSteps());
    EXPECT_EQ(own->calls, QStringList{QStringLiteral("ShowHelp %1 10100").arg(handle)})
        << "never given help file or title";
    EXPECT_TRUE(oskel->calls.isEmpty()) << oskel->calls.join(QLatin1Char(',')).toStdString();
}

TEST_F(AddDocumentDlgTest, WithoutItsOwnServicesTheDialogFailsToLoadAndShowsNoWindow) {
    HostClasses::Registered().oskel = nullptr;
    ModalDriver driver;
    bool shown = false;
    driver.then([&](QWidget*) { shown = true; });
    try {
        manager->AddDocumentDlg(a);
        ADD_FAILURE() << "no failure raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), Error::CannotCreateObject);
    }
    EXPECT_FALSE(shown);
}

}  // namespace
