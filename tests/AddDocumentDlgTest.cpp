#include "component/Globals.h"
#include "platform/Recordset.h"
#include "support/DialogTest.h"
#include "support/ScriptedFileDialog.h"

#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

QByteArray jpeg(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    return buffer.data();
}

// Puts the whole text at once, as pasting it would: typing a path letter by letter proposes a
// name from its first letters.
void paste(QWidget* modal, const char* name, const QString& text) { box<QLineEdit>(modal, name)->setText(text); }

using Entries = std::vector<std::pair<const char*, QString>>;

// Clicks each "opt" button and fills each box in turn: the path pasted, the others typed.
void fill(QWidget* modal, const Entries& entries) {
    for (const auto& [name, text] : entries) {
        if (QLatin1String(name).startsWith(QLatin1String("opt"))) ModalDriver::click(modal, QLatin1String(name));
        else if (QLatin1String(name) == QLatin1String("txtFile")) paste(modal, name, text);
        else ModalDriver::typeInto(modal, QLatin1String(name), text);
    }
}

void clickOK(QWidget* modal) { ModalDriver::click(modal, QStringLiteral("cmdOK")); }
void clickCancel(QWidget* modal) { ModalDriver::click(modal, QStringLiteral("cmdCancel")); }

class AddDocumentDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        HostClasses::Registered().oskel = [this] { return own; };
        if (IsSkipped()) return;
        manager->SetCanAddLink(QStringLiteral("VINCULAR"));
        picture = writeFile(QStringLiteral("Casa.jpg"), jpeg({400, 300}));
    }

    // Fills the import entries and presses "&Aceptar".
    static ModalDriver::Step importFile(const QString& file) {
        return [=](QWidget* modal) {
            fill(modal, {{"txtFile", file}, {"txtName", QStringLiteral("Casa")}});
            clickOK(modal);
        };
    }

    template <typename... Steps>
    bool add(const QString& parents, const QString& type, Steps... steps) {
        return drive([&] { return manager->AddDocumentDlg(parents, type); }, steps...);
    }
    // "FK_Parent TypeParent Sis" of every link of the last document, by parent.
    QStringList lastLinks() {
        QStringList links;
        auto rows = connection->Execute(QStringLiteral("SELECT FK_Parent, TypeParent, Sis FROM DocLink WHERE FK_Doc "
                                                       "= ? ORDER BY FK_Parent"),
                                        {lastDocument()->Fields(QStringLiteral("Sys_GUID"))});
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
};

TEST_F(AddDocumentDlgTest, OpensInImportModeAndModesEnableAndColourTheirBoxesKeepingWhatWasTyped) {
    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    ASSERT_NE(window, buttonFace);
    EXPECT_FALSE(add(a, {}, [&](QWidget* modal) {
        expectFrame(modal, QStringLiteral("Adjuntar documento"), {590, 357}, QStringLiteral("Form/dlgAdd"),
                    QStringLiteral("txtName txtDescription txtWords optImport txtFile cmdExplorer cmdHelp cmdOK "
                                   "cmdCancel txtName"));
        EXPECT_TRUE(box<QRadioButton>(modal, "optImport")->isChecked());
        paste(modal, "txtFile", picture);
        for (const bool importing : {false, true, false}) {
            ModalDriver::click(modal, QLatin1String(importing ? "optImport" : "optURL"));
            // "+" enabled, "-" disabled, "!" a box not in the window colour when enabled or the button face when not.
            QStringList states;
            for (const char* name : {"txtName", "txtDescription", "txtWords", "txtFile", "cmdExplorer", "txtURL"}) {
                const QWidget* control = box(modal, name);
                const QColor expected = control->isEnabled() ? window : buttonFace;
                states << QLatin1String(name) + QLatin1String(control->isEnabled() ? "+" : "-") +
                              QLatin1String(
                                  name[0] == 't' && control->palette().color(QPalette::Base) != expected ? "!" : "");
            }
            EXPECT_EQ(states.join(QLatin1Char(' ')),
                      importing ? QStringLiteral("txtName+ txtDescription+ txtWords+ txtFile+ cmdExplorer+ txtURL-")
                                : QStringLiteral("txtName+ txtDescription+ txtWords+ txtFile- cmdExplorer- txtURL+"));
            EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), picture);
            EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Casa"));
        }
        clickCancel(modal);
    }));
}

TEST_F(AddDocumentDlgTest, StoresAFileOrAUrlAfterAskingTheRightAndLinksEveryParentInOrder) {
    const struct {
        QString parents, type;
        Entries entries;
        QString texts;  // "Name|Description|Works|storeout|urlfile"
        QByteArray data;
        QSize miniature;  // none when null
        QStringList links;
    } cases[] = {
        {a + QLatin1Char(',') + b,
         QStringLiteral("Cliente"),
         {{"txtFile", picture},
          {"txtName", QStringLiteral("  Casa nueva ")},
          {"txtDescription", QStringLiteral(" fachada ")},
          {"txtWords", QStringLiteral("casa, 2026 ")}},
         QStringLiteral("Casa nueva| fachada |casa, 2026 |0|"),
         jpeg({400, 300}),
         QSize(120, 90),
         QStringList{a + QStringLiteral(" Cliente 1"), b + QStringLiteral(" Cliente 1")}},
        // The file box is ignored in URL mode.
        {QString(),
         QStringLiteral("Obra"),
         {{"txtFile", picture},
          {"optURL", {}},
          {"txtURL", QStringLiteral("https://example.com/plano.dwg")},
          {"txtName", QStringLiteral("Plano")}},
         QStringLiteral("Plano|||1|https://example.com/plano.dwg"),
         QByteArray(),
         QSize(),
         QStringList()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texts.toStdString());
        auto rights = std::make_shared<ScriptedRights>(true);
        manager->SetUM(rights);
        EXPECT_TRUE(add(c.parents, c.type, [&](QWidget* modal) {
            fill(modal, c.entries);
            clickOK(modal);
        }));
        EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(rights->asked, QStringList{QStringLiteral("VINCULAR (hourglass)")});
        auto row = lastDocument();
        QStringList texts;
        for (const char* field : {"Name", "Description", "Works", "storeout", "urlfile"})
            texts << row->Fields(QLatin1String(field)).toString();
        EXPECT_EQ(texts.join(QLatin1Char('|')), c.texts);
        EXPECT_EQ(row->Fields(QStringLiteral("Data")).toByteArray(), c.data);
        const QVariant miniature = row->Fields(QStringLiteral("MiniData"));
        EXPECT_EQ(miniature.isNull() ? QSize() : QImage::fromData(miniature.toByteArray(), "BMP").size(), c.miniature);
        EXPECT_EQ(lastLinks(), c.links);
    }
}

TEST_F(AddDocumentDlgTest, NameIsProposedByTheDialogsOwnServicesButNeverReplacesATypedOne) {
    const QString chosen = writeFile(QStringLiteral("Plano.pdf"), "pdf");
    QStringList filters;
    ScriptedFileDialog script([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        dialog.selectFile(chosen);
        return int(QDialog::Accepted);
    });
    EXPECT_FALSE(drive([&] { return manager->AddDocumentDlg(a, QString(), picture); },
                       [&](QWidget* modal) {
                           EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), picture);
                           EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Casa"));
                           ModalDriver::typeInto(modal, QStringLiteral("txtName"), QStringLiteral("Mi plano"));
                           ModalDriver::click(modal, QStringLiteral("cmdExplorer"));
                           EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), chosen);
                           EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Mi plano"));
                           EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("txtDescription"));
                           clickCancel(modal);
                       }));
    EXPECT_EQ(filters.first(),
              QStringLiteral("Archivos de Imagenes (*.bmp;*.ico;*.gif;*.jpg) (*.bmp *.ico *.gif *.jpg)"));
    EXPECT_EQ(own->calls, QStringList{QStringLiteral("FileBaseName ") + picture});
    EXPECT_TRUE(oskel->calls.filter(QStringLiteral("FileBaseName")).isEmpty());
}

TEST_F(AddDocumentDlgTest, EachMissingEntryIsToldInTurnAndTakesTheFocus) {
    const struct {
        Entries entries;
        QString message;
        const char* focus;
    } cases[] = {
        // Both boxes of a mode blank: the path or URL is asked for first.
        {{{"txtFile", QStringLiteral(" ")}, {"txtName", {}}},
         QStringLiteral("Introduzca ruta del archivo"),
         "cmdExplorer"},
        {{{"txtFile", picture}, {"txtName", QStringLiteral("  ")}},
         QStringLiteral("Introduzca nombre del archivo"),
         "txtName"},
        {{{"optURL", {}}, {"txtFile", picture}, {"txtURL", QStringLiteral(" ")}, {"txtName", {}}},
         QStringLiteral("Introduzca la URL que enlaza el archivo"),
         "txtURL"},
        {{{"optURL", {}}, {"txtURL", QStringLiteral("https://example.com")}, {"txtName", {}}},
         QStringLiteral("Introduzca nombre del archivo"),
         "txtName"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus);
        EXPECT_FALSE(add(a, QStringLiteral("Cliente"), [&](QWidget* modal) {
            fill(modal, c.entries);
            box(modal, "txtDescription")->setFocus();
            clickOK(modal);
            EXPECT_TRUE(modal->isVisible());
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.focus));
            clickCancel(modal);
        }));
        EXPECT_EQ(shown, QStringList{c.message + QStringLiteral("|0|")});
    }
    EXPECT_EQ(documentCount(), 0);
}

TEST_F(AddDocumentDlgTest, WaysOutStoreNothing) {
    for (const auto& [what, leave] : waysOut("cmdCancel", {"txtName", "cmdOK", "cmdCancel", "cmdExplorer"})) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(add(a, QStringLiteral("Cliente"), [&](QWidget* modal) {
            paste(modal, "txtFile", picture);
            leave(modal);
        }));
        EXPECT_TRUE(shown.isEmpty());
    }
    EXPECT_EQ(documentCount(), 0);
}

TEST_F(AddDocumentDlgTest, RefusedLinkRightKeepsTheDialogOpenAndEachOKStoresACopy) {
    for (const std::optional<bool> answer : {std::optional<bool>(false), std::optional<bool>()}) {
        const qint32 before = documentCount();
        manager->SetUM(std::make_shared<ScriptedRights>(answer));
        EXPECT_FALSE(add(a, QStringLiteral("Cliente"), importFile(picture), clickOK, clickCancel));
        const QString refused =
            QStringLiteral("El documento se guardó, pero no tiene los privilegios para vincularlo|64|Brenmoria 2014");
        EXPECT_EQ(shown, QStringList({refused, refused}));
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
        SCOPED_TRACE(c.what);
        manager->SetLastErrDescrip(earlier);
        const qint32 before = documentCount();
        EXPECT_FALSE(add(c.parents, c.type, importFile(c.file)));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        ASSERT_EQ(shown.size(), c.links ? 1 : 2);
        EXPECT_EQ(shown.last(), c.reported + QStringLiteral("|64|Brenmoria 2014"));
        EXPECT_EQ(documentCount(), before + (c.links ? 1 : 0));
        if (c.links) {
            EXPECT_EQ(lastLinks(), *c.links);
        }
    }
}

TEST_F(AddDocumentDlgTest, HelpAsksTheDialogsOwnServicesForContext10100) {
    manager->SetOskel(oskel, QStringLiteral("ayuda.chm"));
    oskel->calls.clear();
    qint32 handle = 0;
    EXPECT_FALSE(add(a, {}, [&](QWidget* modal) {
        handle = static_cast<qint32>(modal->winId());
        ModalDriver::click(modal, QStringLiteral("cmdHelp"));
        clickCancel(modal);
    }));
    EXPECT_EQ(own->calls, QStringList{QStringLiteral("ShowHelp %1 10100").arg(handle)})
        << "never given help file or title";
    EXPECT_TRUE(oskel->calls.isEmpty()) << oskel->calls.join(QLatin1Char(',')).toStdString();
}

TEST_F(AddDocumentDlgTest, WithoutItsOwnServicesTheDialogFailsToLoadAndShowsNoWindow) {
    HostClasses::Registered().oskel = nullptr;
    expectLoadFailure([&] { manager->AddDocumentDlg(a); }, Error::CannotCreateObject);
}

}  // namespace
