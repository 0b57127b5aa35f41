#include "platform/Recordset.h"
#include "repository/DocumentText.h"
#include "support/DialogTest.h"
#include "support/PdfSample.h"
#include "support/ScriptedFileDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

using Entries = std::vector<std::pair<const char*, QString>>;

// Clicks each "opt" button and fills each box in turn. The path is put in whole, as pasting it
// would: typed letter by letter, it would propose a name from its first letters.
void fill(QWidget* modal, const Entries& entries) {
    for (const auto& [name, text] : entries) {
        const QLatin1String control(name);
        if (control.startsWith(QLatin1String("opt"))) click(modal, name);
        else if (control == QLatin1String("txtFile")) box<QLineEdit>(modal, name)->setText(text);
        else ModalDriver::typeInto(modal, control, text);
    }
}

// Fills the entries and presses "&Aceptar".
ModalDriver::Step entering(const Entries& entries) {
    return [=](QWidget* modal) {
        fill(modal, entries);
        click(modal, "cmdOK");
    };
}

// Each control as "name+" when enabled or "name-" when not.
QString controlStates(QWidget* modal) {
    QStringList states;
    for (const char* name : {"txtFile", "cmdExplorer", "txtURL", "txtName", "txtDescription", "txtWords"})
        states << QLatin1String(name) + QLatin1String(box(modal, name)->isEnabled() ? "+" : "-");
    return states.join(QLatin1Char(' '));
}

class AddDocumentDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        HostClasses::registered().oskel = [this] { return own; };
        if (!databaseReady()) return;
        manager->SetCanAddLink(QStringLiteral("VINCULAR"));
        picture = writeFile(QStringLiteral("Casa.jpg"), pictureData);
    }

    template <typename... Steps>
    bool add(const QString& parents, const QString& type, Steps... steps) {
        return drive([&] { return manager->AddDocumentDlg(parents, type); }, steps...);
    }
    // The last document stored, as "Name|Description|Works|storeout|urlfile|data|miniature size",
    // its data told as "picture" when it holds the picture file's bytes.
    QString lastDocument() {
        auto row = connection->Execute(QStringLiteral("SELECT * FROM Docs ORDER BY Sys_PK DESC"));
        QStringList fields;
        for (const char* field : {"Name", "Description", "Works", "storeout", "urlfile"})
            fields << row->value(QLatin1String(field)).toString();
        const QByteArray data = row->value(QStringLiteral("Data")).toByteArray();
        fields << (data.isNull() ? QString() : data == pictureData ? QStringLiteral("picture") : QStringLiteral("?"));
        const QImage miniature = QImage::fromData(row->value(QStringLiteral("MiniData")).toByteArray(), "BMP");
        fields << (miniature.isNull() ? QString()
                                      : QStringLiteral("%1x%2").arg(miniature.width()).arg(miniature.height()));
        return fields.join(QLatin1Char('|'));
    }
    // "FK_Parent TypeParent Sis" of every link of the last document, by parent.
    QStringList lastLinks() {
        QStringList links;
        auto rows = connection->Execute(
            QStringLiteral("SELECT FK_Parent, TypeParent, Sis FROM DocLink WHERE FK_Doc IN (SELECT Sys_GUID FROM Docs "
                           "WHERE Sys_PK = (SELECT MAX(Sys_PK) FROM Docs)) ORDER BY FK_Parent"));
        for (; rows && !rows->Eof(); rows->MoveNext())
            links << QStringLiteral("%1 %2 %3")
                         .arg(rows->value(0).toString(), rows->value(1).toString(), rows->value(2).toString());
        return links;
    }
    qint32 documentCount() { return rowCount(QStringLiteral("SELECT * FROM Docs")); }

    std::shared_ptr<RecordingOskel> own = std::make_shared<RecordingOskel>();
    const QByteArray pictureData = pictureBytes({400, 300}, "JPEG");
    QString picture;
    const QString a = Key(QStringLiteral("A")), b = Key(QStringLiteral("B"));
};

TEST_F(AddDocumentDlgTest, OpensInImportModeAndModesEnableTheirBoxesKeepingWhatWasTyped) {
    const QString importing = QStringLiteral("txtFile+ cmdExplorer+ txtURL- txtName+ txtDescription+ txtWords+");
    const QString linking = QStringLiteral("txtFile- cmdExplorer- txtURL+ txtName+ txtDescription+ txtWords+");
    EXPECT_FALSE(add(a, {}, [&](QWidget* modal) {
        expectFrame(modal, QStringLiteral("Adjuntar documento"), {590, 357},
                    QStringLiteral("txtName txtDescription txtWords optImport txtFile cmdExplorer cmdHelp cmdOK "
                                   "cmdCancel txtName"));
        EXPECT_TRUE(box<QRadioButton>(modal, "optImport")->isChecked());
        fill(modal, {{"txtFile", picture}});
        // The first click finds import mode already chosen.
        for (const char* mode : {"optImport", "optURL", "optImport", "optURL"}) {
            click(modal, mode);
            EXPECT_EQ(controlStates(modal), QLatin1String(mode) == QLatin1String("optURL") ? linking : importing);
            EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), picture);
            EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Casa"));
        }
        click(modal, "cmdCancel");
    }));
}

// The name loses its outer spaces; the description and keywords are stored as typed.
TEST_F(AddDocumentDlgTest, StoresAFileWithItsMiniatureAndLinksEveryParentInOrder) {
    manager->SetUM(std::make_shared<ScriptedRights>(true));
    EXPECT_TRUE(add(a + QLatin1Char(',') + b, QStringLiteral("Cliente"),
                    entering({{"txtFile", picture},
                              {"txtName", QStringLiteral("  Casa nueva ")},
                              {"txtDescription", QStringLiteral(" fachada ")},
                              {"txtWords", QStringLiteral("casa, 2026 ")}})));
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lastDocument(), QStringLiteral("Casa nueva| fachada |casa, 2026 |0||picture|120x90"));
    EXPECT_EQ(lastLinks(), (QStringList{a + QStringLiteral(" Cliente 1"), b + QStringLiteral(" Cliente 1")}));
}

// A file named as a picture that holds none, after a real one: stored without a miniature, never
// with the one the picture before it left.
TEST_F(AddDocumentDlgTest, AFalsePictureAfterARealOneIsStoredWithoutAMiniature) {
    const QString falsePicture = writeFile(QStringLiteral("falsa.jpg"), "solo texto");
    EXPECT_TRUE(add(a, QStringLiteral("Cliente"), entering({{"txtFile", picture}})));
    EXPECT_TRUE(add(a, QStringLiteral("Cliente"), entering({{"txtFile", falsePicture}})));
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lastDocument(), QStringLiteral("falsa|||0||?|"));
}

// Off, the nine picture types alone get a miniature, made here; on, the extraction program makes
// every file's, a PDF's first page as a picture's, 120 pixels wide, and turns a photograph as its
// EXIF orientation says.
TEST_F(AddDocumentDlgTest, DocumentMiniaturesGiveAPdfItsFirstPageOnlyWhenTurnedOn) {
    const QString pdf = writeFile(QStringLiteral("Informe.pdf"), onePagePdf(QStringLiteral("informe anual")));
    // The picture's 400 x 300 pixels with an EXIF orientation of 6: shown turned a quarter.
    const QByteArray orientation = QByteArray::fromHex(
        "FFE10022457869660000"
        "4D4D002A00000008"
        "0001"
        "011200030000000100060000"
        "00000000");
    const QString turned = writeFile(QStringLiteral("Girada.jpg"),
                                     pictureData.left(2) + orientation + pictureData.mid(2));
    const struct {
        bool documentMiniatures;
        QString file;
        QString stored;
    } cases[] = {
        {false, pdf, QStringLiteral("Informe|||0||?|")},
        {false, picture, QStringLiteral("Casa|||0||picture|120x90")},
        {true, pdf, QStringLiteral("Informe|||0||?|120x170")},
        {true, picture, QStringLiteral("Casa|||0||picture|120x90")},
        {false, turned, QStringLiteral("Girada|||0||?|120x90")},
        {true, turned, QStringLiteral("Girada|||0||?|120x160")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        manager->setDocumentMiniatures(c.documentMiniatures);
        EXPECT_TRUE(add(a, QStringLiteral("Cliente"), entering({{"txtFile", c.file}})));
        EXPECT_EQ(lastDocument(), c.stored);
    }
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
}

// The text is read once the record is saved, and only when asked; a file the program cannot
// read is stored all the same, its note kept with an empty text, and no failure recorded.
TEST_F(AddDocumentDlgTest, IndexesContentReadsTheStoredFilesTextWithoutEverFailingTheStore) {
    const QString pdf = writeFile(QStringLiteral("Informe.pdf"), onePagePdf(QStringLiteral("presupuesto anual")));
    const QString damaged = writeFile(QStringLiteral("Roto.pdf"), "%PDF-1.4 roto");
    EXPECT_TRUE(add(a, QStringLiteral("Cliente"), entering({{"txtFile", pdf}})));
    EXPECT_EQ(documentsWithoutText(*connection).size(), 1) << "off: nothing read";

    manager->setIndexesContent(true);
    recordEarlierFailure();
    EXPECT_TRUE(add(a, QStringLiteral("Cliente"), entering({{"txtFile", pdf}})));
    EXPECT_FALSE(
        manager->StoreDocumentAll(QStringLiteral("Roto"), {}, {}, {}, damaged, QStringLiteral("pdf")).isEmpty());
    EXPECT_EQ(manager->LastErrDescrip(), earlierFailure);
    EXPECT_EQ(documentsWithoutText(*connection).size(), 1);
    const auto texts = connection->Execute(
        QStringLiteral("SELECT t.Text, t.Note FROM DocText t JOIN Docs d ON d.Sys_PK = t.Sys_PK ORDER BY d.Sys_PK"));
    ASSERT_FALSE(texts->Eof());
    EXPECT_TRUE(texts->value(0).toString().contains(QStringLiteral("presupuesto anual")));
    texts->MoveNext();
    ASSERT_FALSE(texts->Eof());
    EXPECT_EQ(texts->value(0).toString(), QString());
    EXPECT_FALSE(texts->value(1).toString().isEmpty()) << "the reason it gave no text";
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();

    manager->setContentTextCap(5);
    const QString capped = manager->StoreDocumentAll(QStringLiteral("Corto"), {}, {}, {}, pdf, QStringLiteral("pdf"));
    const auto text = connection->Execute(
        QStringLiteral("SELECT t.Text FROM DocText t JOIN Docs d ON d.Sys_PK = t.Sys_PK WHERE d.Sys_GUID = ?"),
        {capped});
    ASSERT_FALSE(text->Eof());
    EXPECT_EQ(text->value(0).toString(), QStringLiteral("presu"));
}

TEST_F(AddDocumentDlgTest, StoresAUrlIgnoringTheFileBox) {
    const QString url = QStringLiteral("https://example.com/plano.dwg");
    EXPECT_TRUE(
        add(QString(), QStringLiteral("Obra"),
            entering({{"txtFile", picture}, {"optURL", {}}, {"txtURL", url}, {"txtName", QStringLiteral("Plano")}})));
    EXPECT_EQ(lastDocument(), QStringLiteral("Plano|||1|") + url + QStringLiteral("||"));
    EXPECT_TRUE(lastLinks().isEmpty());
}

// "Examinar" offers the pictures' filter. The dialog's own services object, never given a help
// file or title, proposes the name from a path and shows help: the manager's one is not asked.
TEST_F(AddDocumentDlgTest, ItsOwnServicesProposeANameThatNeverReplacesATypedOneAndShowHelp) {
    const QString chosen = writeFile(QStringLiteral("Plano.pdf"), "pdf");
    ScriptedFileDialog script([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.nameFilters(),
                  (QStringList{QStringLiteral(
                                   "Archivos de Imagenes (*.bmp;*.ico;*.gif;*.jpg) (*.bmp *.ico *.gif *.jpg)"),
                               QStringLiteral("Todos los Archivos (*.*) (*)")}));
        dialog.selectFile(chosen);
        return int(QDialog::Accepted);
    });
    QString help;
    const auto work = [&](QWidget* modal) {
        EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Casa"));
        ModalDriver::typeInto(modal, QStringLiteral("txtName"), QStringLiteral("Mi plano"));
        click(modal, "cmdExplorer");
        EXPECT_EQ(box<QLineEdit>(modal, "txtFile")->text(), chosen);
        EXPECT_EQ(box<QLineEdit>(modal, "txtName")->text(), QStringLiteral("Mi plano"));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("txtDescription"));
        click(modal, "cmdHelp");
        help = QStringLiteral("ShowHelp %1 10100").arg(static_cast<qint32>(modal->winId()));
        click(modal, "cmdCancel");
    };
    EXPECT_FALSE(drive([&] { return manager->AddDocumentDlg(a, QString(), picture); }, work));
    EXPECT_EQ(own->calls, (QStringList{QStringLiteral("FileBaseName ") + picture, help}));
    EXPECT_TRUE(oskel->calls.isEmpty()) << oskel->calls.join(QLatin1Char(',')).toStdString();
}

TEST_F(AddDocumentDlgTest, EachMissingEntryIsToldInTurnAndTakesTheFocus) {
    // Both boxes of a mode blank: the path or URL is asked for first. The URL mode ignores the path.
    const struct {
        const char* mode;
        QString path, url, name;
        const char* message;
        const char* focus;
    } cases[] = {
        {"optImport", QStringLiteral(" "), {}, {}, "Introduzca ruta del archivo", "cmdExplorer"},
        {"optImport", picture, {}, QStringLiteral("  "), "Introduzca nombre del archivo", "txtName"},
        {"optURL", picture, QStringLiteral(" "), {}, "Introduzca la URL que enlaza el archivo", "txtURL"},
        {"optURL", {}, QStringLiteral("https://example.com"), {}, "Introduzca nombre del archivo", "txtName"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus);
        EXPECT_FALSE(add(a, QStringLiteral("Cliente"), [&](QWidget* modal) {
            fill(modal, {{c.mode, {}}, {"txtFile", c.path}, {"txtURL", c.url}, {"txtName", c.name}});
            box(modal, "txtDescription")->setFocus();
            click(modal, "cmdOK");
            EXPECT_TRUE(modal->isVisible());
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.focus));
            click(modal, "cmdCancel");
        }));
        EXPECT_EQ(shown, QStringList{QLatin1String(c.message) + QStringLiteral("|0|")});
    }
    EXPECT_EQ(documentCount(), 0);
}

TEST_F(AddDocumentDlgTest, RefusedLinkRightKeepsTheDialogOpenAndEachOKStoresACopy) {
    const QString refused =
        informed(QStringLiteral("El documento se guardó, pero no tiene los privilegios para vincularlo"));
    manager->SetUM(std::make_shared<ScriptedRights>(true, QStringList{QStringLiteral("VINCULAR")}));
    EXPECT_FALSE(
        add(a, QStringLiteral("Cliente"), entering({{"txtFile", picture}}), clicking("cmdOK"), clicking("cmdCancel")));
    EXPECT_EQ(shown, QStringList({refused, refused}));
    EXPECT_EQ(documentCount(), 2);
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM DocLink")), 0);
}

TEST_F(AddDocumentDlgTest, FailuresShowLastErrDescripAndHideTheDialogKeepingEarlierLinks) {
    const struct {
        const char* what;
        QString parents, type, file;
        QString reported;
        std::optional<QStringList> links;  // none when nothing is stored
    } cases[] = {
        // StoreDocument tells its own failure first, and records none.
        {"missing file", a, QStringLiteral("Cliente"), QStringLiteral("/no/such/Casa.pdf"), earlierFailure,
         std::nullopt},
        {"empty piece between commas", a + QStringLiteral(",,") + b, QStringLiteral("Cliente"), picture, earlierFailure,
         QStringList{a + QStringLiteral(" Cliente 1")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        recordEarlierFailure();
        const qint32 before = documentCount();
        EXPECT_FALSE(add(c.parents, c.type, entering({{"txtFile", c.file}})));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        ASSERT_EQ(shown.size(), c.links ? 1 : 2);
        EXPECT_EQ(shown.last(), informed(c.reported));
        EXPECT_EQ(documentCount(), before + (c.links ? 1 : 0));
        if (c.links) {
            EXPECT_EQ(lastLinks(), *c.links);
        }
    }
}

TEST_F(AddDocumentDlgTest, WithoutItsOwnServicesTheDialogFailsToLoadAndShowsNoWindow) {
    HostClasses::registered().oskel = nullptr;
    expectLoadFailure([&] { manager->AddDocumentDlg(a); }, Error::CannotCreateObject);
}

// The parts Qt draws, the file dialog of "&Examinar" and a text box's context menu, speak
// Spanish without a translation of the host's, and the host's language when it installed one;
// the stand-in goes with the dialog.
TEST_F(AddDocumentDlgTest, QtsOwnPartsSpeakSpanishUnlessTheHostChoseTheirLanguage) {
    const struct {
        const char* hostLanguage;  // none: the host installed no translation of Qt's texts
        QStringList expected;      // file dialog title, "Look in", its Cancel button, "&Undo"
    } cases[] = {
        {nullptr,
         {QStringLiteral("Abrir"), QStringLiteral("Ver en:"), QStringLiteral("Cancelar"), QStringLiteral("&Deshacer")}},
        {"de",
         {QStringLiteral("Öffnen"), QStringLiteral("Suchen in:"), QStringLiteral("Abbrechen"),
          QStringLiteral("&Rückgängig")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hostLanguage ? c.hostLanguage : "no translation");
        QTranslator host;
        if (c.hostLanguage) {
            ASSERT_TRUE(host.load(QLocale(QLatin1String(c.hostLanguage)), QStringLiteral("qtbase"), QStringLiteral("_"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
            QCoreApplication::installTranslator(&host);
        }
        QStringList seen;
        ScriptedFileDialog script([&](QFileDialog& dialog) {
            seen << dialog.windowTitle() << dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text()
                 << dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
            return int(QDialog::Rejected);
        });
        add(a, QString(), [&](QWidget* modal) {
            const std::unique_ptr<QMenu> menu(box<QLineEdit>(modal, "txtName")->createStandardContextMenu());
            click(modal, "cmdExplorer");
            seen << menu->actions().value(0)->text().section(QLatin1Char('\t'), 0, 0);
            click(modal, "cmdCancel");
        });
        EXPECT_EQ(seen, c.expected);
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

}  // namespace
