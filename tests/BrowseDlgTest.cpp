#include "repository/DocumentList.h"
#include "support/DialogTest.h"

#include <QCheckBox>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

QStringList listedNames(QWidget* modal) {
    QStringList names;
    const DocumentList& items = documentList(modal)->ListItems();
    for (qint32 item = 1; item <= items.Count(); ++item) names << items.Text(item);
    return names;
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
