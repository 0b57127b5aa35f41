#include "component/Globals.h"
#include "repository/DocumentList.h"
#include "support/DialogTest.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <sys/stat.h>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

QStringList listedNames(QWidget* modal) {
    QStringList names;
    const DocumentList& items = documentList(modal)->ListItems();
    for (qint32 item = 1; item <= items.Count(); ++item) names << items.Text(item);
    return names;
}

// Drags the files onto the list and drops them there, as the desktop would: the drop goes to the
// widget that took the drag. True when the list took the drop.
bool drop(QWidget* modal, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    QWidget* target = documentList(modal)->viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
    return event.isAccepted();
}

class FailingRights : public UserRights {
public:
    std::optional<bool> CheckItem(const QString&) override { throw Error(Error::Unexpected, QStringLiteral("no")); }
};

class BrowseDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (!databaseReady()) return;
        plano = storeFile(QStringLiteral("Plano"), QStringLiteral("jpg"), pictureBytes({400, 300}),
                          pictureBytes(MiniatureSize));
        acta = storeFile(QStringLiteral("Acta"), QStringLiteral("pdf"), "x");
        resetLinks();
        manager->SetCanAddLink(QStringLiteral("permiso"));
        manager->SetCanEdit(QStringLiteral("permiso"));
        manager->SetCanDeleteLink(QStringLiteral("permiso"));
        manager->SetCanDeleteDocument(QStringLiteral("borrar"));
    }

    void browse(const QString& parents, const std::vector<ModalDriver::Step>& steps) {
        const auto open = [&] {
            return manager->BrowseDlg(parents, QStringLiteral("Cliente 1"), QStringLiteral("Cliente"));
        };
        EXPECT_FALSE(driveSteps(open, steps));
    }
    // Plano linked to the parent; Acta to the parent and to another one.
    void resetLinks() {
        connection->Execute(QStringLiteral("DELETE FROM DocLink"));
        link(parent, plano);
        link(parent, acta);
        link(Key(QStringLiteral("OTRO")), acta);
    }
    bool exists(const QString& guid) {
        return rowCount(QStringLiteral("SELECT * FROM Docs WHERE Sys_GUID = '%1'").arg(guid)) == 1;
    }
    qint32 links(const QString& guid) {
        return rowCount(QStringLiteral("SELECT * FROM DocLink WHERE FK_Doc = '%1'").arg(guid));
    }

    const QString parent = Key(QStringLiteral("CLIENTE1"));
    QString plano, acta;
};

TEST_F(BrowseDlgTest, AParentWithoutDocumentsKeepsTheBuiltInPictureAndEveryButtonDoesNothing) {
    browse(Key(QStringLiteral("NADIE")), {[&](QWidget* modal) {
               EXPECT_EQ(documentList(modal)->ListItems().Count(), 0);
               for (const char* button : {"cmdOpenDoc", "Command1", "cmdEdit", "cmdDel"}) click(modal, button);
               EXPECT_EQ(shownPicture(modal), BuiltInSize);
               click(modal, "cmdClose");
           }});
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(shownPages.isEmpty());
}

TEST_F(BrowseDlgTest, EachColumnShowsItsOwnValueOfTheDocument) {
    const QString only = Key(QStringLiteral("SOLO"));
    const QString guid = storeDistinctDocument(only);
    browse(only, {[&](QWidget* modal) {
               expectColumns(modal, {{QStringLiteral("Nombre"), QStringLiteral("Cuaderno"), true},
                                     {QStringLiteral("Descripción"), QStringLiteral("Descripción de Cuaderno"), true},
                                     {QStringLiteral("Tipo"), QStringLiteral("odt"), true},
                                     {QStringLiteral("Modificado"), today(), true},
                                     {QStringLiteral("Alta"), QStringLiteral("2001-02-03"), true},
                                     {QStringLiteral("Miniatura"), QStringLiteral("clave"), false},
                                     {QStringLiteral("Sys_PK"), QString::number(pkOf(guid)), false},
                                     {QStringLiteral("Sys_Guid"), guid, false}});
               click(modal, "cmdClose");
           }});
}

// The dialog opens on the parent's documents, the first one's miniature shown.
TEST_F(BrowseDlgTest, OpenAndDownloadGoThroughTheDesktopOrThePageAndReportLastErr) {
    browse(parent, {[&](QWidget* modal) {
               EXPECT_EQ(listedNames(modal), (QStringList{QStringLiteral("Plano"), QStringLiteral("Acta")}));
               EXPECT_TRUE(box<QCheckBox>(modal, "chkImg")->isChecked());
               EXPECT_EQ(shownPicture(modal), MiniatureSize);
               click(modal, "cmdOpenDoc");
               click(modal, "Command1");
               recordEarlierFailure();
               click(modal, "cmdOpenDoc");
               click(modal, "cmdClose");
           }});
    EXPECT_EQ(oskel->calls.filter(QStringLiteral("ShellOpen")).size(), 2) << "a picture opens on the desktop";
    EXPECT_EQ(shownPages.size(), 1) << "and is downloaded from the page";
    EXPECT_EQ(pageNames, QStringList{QStringLiteral("Plano")}) << "which proposes to save it under its name";
    EXPECT_EQ(shown, QStringList{informed(earlierFailure)});
}

// Unset rights allow everything; a refusal or a null answer stops; a failing check lets add go
// ahead and stops the others.
TEST_F(BrowseDlgTest, TheRightsObjectDecidesWhichActionsGoAhead) {
    const struct {
        const char* what;
        std::shared_ptr<UserRights> rights;
        QStringList opened;
        bool unlinks;
    } cases[] = {
        {"unset", nullptr, {QStringLiteral("dlgAdd"), QStringLiteral("dlgEdit")}, true},
        {"false", std::make_shared<ScriptedRights>(false), {}, false},
        {"null", std::make_shared<ScriptedRights>(std::nullopt), {}, false},
        {"failing", std::make_shared<FailingRights>(), {QStringLiteral("dlgAdd")}, false},
    };
    answerYes = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        manager->SetUM(c.rights);
        resetLinks();
        QStringList opened;
        std::vector<ModalDriver::Step> steps{[&](QWidget* modal) {
            click(modal, "cmdAdd");
            clickRow(modal, QStringLiteral("Acta"));
            click(modal, "cmdEdit");
            clickRow(modal, QStringLiteral("Acta"));
            click(modal, "cmdDel");
            click(modal, "cmdClose");
        }};
        for (qsizetype nested = 0; nested < c.opened.size(); ++nested)
            steps.push_back([&](QWidget* dialog) {
                opened << dialog->objectName();
                dialog->close();
            });
        browse(parent, steps);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(shown.contains(QStringLiteral("No tiene permiso para agregar documentos|0|")), c.opened.isEmpty());
        EXPECT_EQ(links(acta), c.unlinks ? 1 : 2);
    }
}

TEST_F(BrowseDlgTest, UnlinkingTheLastLinkDeletesTheDocumentWhenAllowed) {
    const struct {
        const char* what;
        QString parents, document;
        bool yes;
        QStringList refused;
        qint32 linksLeft;
        bool kept, stillListed;
    } cases[] = {
        {"answered No", parent, "Acta", false, {}, 2, true, true},
        {"linked elsewhere too", parent, "Acta", true, {}, 1, true, false},
        {"several parents are one key", parent + "," + Key(QStringLiteral("OTRO")), "Acta", true, {}, 2, true, true},
        {"link right refused", parent, "Plano", true, {QStringLiteral("permiso")}, 1, true, true},
        {"delete right refused", parent, "Plano", true, {QStringLiteral("borrar")}, 0, true, false},
        {"last link", parent, "Plano", true, {}, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        manager->SetUM(std::make_shared<ScriptedRights>(true, c.refused));
        answerYes = c.yes;
        resetLinks();
        browse(c.parents, {[&](QWidget* modal) {
                   clickRow(modal, c.document);
                   click(modal, "cmdDel");
                   EXPECT_EQ(listedNames(modal).contains(c.document), c.stillListed);
                   click(modal, "cmdClose");
               }});
        EXPECT_EQ(shown.value(0),
                  QStringLiteral("¿Seguro desea eliminar el vínculo a este archivo y el contenido de ser "
                                 "posible?|276|"));
        const QString guid = c.document == QLatin1String("Acta") ? acta : plano;
        EXPECT_EQ(exists(guid), c.kept);
        EXPECT_EQ(links(guid), c.linksLeft);
    }
}

// Off unless the host turns it on: then each file dropped on the list opens the add dialog with
// its path and name, after the rights test, and a document dragged out is dropped as a file of its
// name and type written from the database when the drop asks for it.
TEST_F(BrowseDlgTest, DroppedFilesAreAddedAndADocumentDragsOutAsItsContentWhenTheHostAsks) {
    const QStringList files{writeFile(QStringLiteral("Recibo.pdf"), "recibo"),
                            writeFile(QStringLiteral("Nota.txt"), "n")};
    browse(parent, {[&](QWidget* modal) {
               EXPECT_FALSE(drop(modal, files));
               EXPECT_EQ(documentList(modal)->DragData(1), nullptr);
               click(modal, "cmdClose");
           }});

    manager->setDragAndDrop(true);
    manager->SetUM(std::make_shared<ScriptedRights>(false));
    browse(parent, {[&](QWidget* modal) {
               EXPECT_TRUE(drop(modal, files));
               QApplication::processEvents();
               click(modal, "cmdClose");
           }});
    EXPECT_EQ(shown, QStringList{QStringLiteral("No tiene permiso para agregar documentos|0|")});

    manager->SetUM(nullptr);
    QStringList proposed;
    const auto propose = [&](const char* button) {
        return [&proposed, button](QWidget* dialog) {
            proposed << box<QLineEdit>(dialog, "txtFile")->text() + QLatin1Char('|') +
                            box<QLineEdit>(dialog, "txtName")->text();
            click(dialog, button);
        };
    };
    QString dragged;
    // The add dialogs open once the drop has ended.
    browse(parent, {[&](QWidget* modal) {
                        EXPECT_TRUE(drop(modal, files));
                        QApplication::processEvents();
                        EXPECT_EQ(listedNames(modal), (QStringList{QStringLiteral("Plano"), QStringLiteral("Acta"),
                                                                   QStringLiteral("Recibo")}));
                        const std::unique_ptr<QMimeData> data(documentList(modal)->DragData(2));
                        ASSERT_NE(data, nullptr);
                        EXPECT_EQ(data->formats(), QStringList{QStringLiteral("text/uri-list")});
                        ASSERT_EQ(data->urls().size(), 1);
                        dragged = data->urls().first().toLocalFile();
                        click(modal, "cmdClose");
                    },
                    propose("cmdOK"), propose("cmdCancel")});
    EXPECT_EQ(proposed, (QStringList{files[0] + QStringLiteral("|Recibo"), files[1] + QStringLiteral("|Nota")}));
    EXPECT_EQ(QFileInfo(dragged).fileName(), QStringLiteral("Acta.pdf"));
    EXPECT_EQ(contentOf(dragged), QByteArray("x"));
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(dragged).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    manager.reset();
    gManager.reset();
    EXPECT_FALSE(QFileInfo::exists(dragged));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(dragged).path())) << "nor its folder";
}

TEST_F(BrowseDlgTest, EditingRefreshesTheList) {
    const auto edit = [&](QWidget* modal) {
        const DocumentList& items = documentList(modal)->ListItems();
        const QString edited = items.Text(documentList(modal)->SelectedItem());
        click(modal, "cmdEdit");
        EXPECT_EQ(items.SubItem(documentList(modal)->FindItem(edited), DocumentList::DescriptionSubItem),
                  QStringLiteral("nueva"));
        click(modal, "cmdClose");
    };
    const auto describe = [](QWidget* dialog) {
        ModalDriver::typeInto(dialog, QStringLiteral("txtDescription"), QStringLiteral("nueva"));
        click(dialog, "cmdAceptar");
    };
    browse(parent, {edit, describe});
}

}  // namespace
