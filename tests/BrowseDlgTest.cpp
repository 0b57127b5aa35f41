#include "component/Globals.h"
#include "repository/DocumentList.h"
#include "support/DialogTest.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

QStringList listedNames(QWidget* modal) {
    QStringList names;
    const DocumentList& items = documentList(modal)->ListItems();
    for (qint32 item = 1; item <= items.Count(); ++item) names << items.Text(item);
    return names;
}

class ThrowingRights : public UserRights {
public:
    std::optional<bool> CheckItem(const QString&) override { throw Error(Error::Unexpected, QStringLiteral("no")); }
};

class BrowseDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (IsSkipped()) return;
        plano = storeFile(QStringLiteral("Plano"), QStringLiteral("jpg"), bmpPicture({400, 300}),
                          bmpPicture(MiniatureSize));
        acta = storeFile(QStringLiteral("Acta"), QStringLiteral("pdf"), "x");
        resetLinks();
        for (auto setItem : {&Manager::SetCanAddLink, &Manager::SetCanEdit, &Manager::SetCanDeleteLink,
                             &Manager::SetCanDeleteDocument})
            ((*manager).*setItem)(QStringLiteral("permiso"));
    }

    template <typename... Steps>
    void browse(const QString& parents, Steps... steps) {
        EXPECT_FALSE(
            drive([&] { return manager->BrowseDlg(parents, QStringLiteral("Cliente 1"), QStringLiteral("Cliente")); },
                  steps...));
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

void clickButton(QWidget* modal, const char* name) { ModalDriver::click(modal, QLatin1String(name)); }
void clickClose(QWidget* modal) { clickButton(modal, "cmdClose"); }

TEST_F(BrowseDlgTest, OpensOnTheParentsDocumentsWithTheFirstMiniatureShown) {
    browse(parent, [&](QWidget* modal) {
        expectFrame(modal, QStringLiteral("Explorar documentos adjuntos - Cliente 1"), {766, 467},
                    QStringLiteral("Form/dlgBrowse"),
                    QStringLiteral("lvwDocs cmdAdd cmdEdit cmdDel chkImg cmdOpenDoc Command1 cmdClose"));
        EXPECT_FALSE(box(modal, "cmdHelp")->isVisible());
        EXPECT_EQ(documentList(modal)->model()->columnCount(), 8) << "the link flag is not kept";
        EXPECT_EQ(listedNames(modal), (QStringList{QStringLiteral("Plano"), QStringLiteral("Acta")}));
        EXPECT_TRUE(box<QCheckBox>(modal, "chkImg")->isChecked());
        EXPECT_EQ(shownPicture(modal), MiniatureSize);
        clickClose(modal);
    });
}

TEST_F(BrowseDlgTest, AParentWithoutDocumentsKeepsTheBuiltInPictureAndEveryButtonDoesNothing) {
    browse(Key(QStringLiteral("NADIE")), [&](QWidget* modal) {
        EXPECT_EQ(documentList(modal)->ListItems().Count(), 0);
        for (const char* button : {"cmdOpenDoc", "Command1", "cmdEdit", "cmdDel"}) clickButton(modal, button);
        EXPECT_EQ(shownPicture(modal), BuiltInSize);
        clickClose(modal);
    });
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(shownPages.isEmpty());
}

TEST_F(BrowseDlgTest, OpenAndDownloadGoThroughTheDesktopOrThePageAndReportLastErr) {
    browse(parent, [&](QWidget* modal) {
        clickButton(modal, "cmdOpenDoc");
        clickButton(modal, "Command1");
        manager->SetLastErr(3021);
        manager->SetLastErrDescrip(QStringLiteral("fallo anterior"));
        clickButton(modal, "cmdOpenDoc");
        clickClose(modal);
    });
    EXPECT_EQ(oskel->calls.filter(QStringLiteral("ShellOpen")).size(), 2) << "a picture opens on the desktop";
    EXPECT_EQ(shownPages.size(), 1) << "and is downloaded from the page";
    EXPECT_EQ(shown, QStringList{QStringLiteral("fallo anterior|64|Brenmoria 2014")});
}

TEST_F(BrowseDlgTest, ChangingTheCheckBoxChangesOnlyTheNextPicture) {
    browse(parent, [&](QWidget* modal) {
        clickButton(modal, "chkImg");
        EXPECT_EQ(shownPicture(modal), MiniatureSize);
        documentList(modal)->SetSelected(2);
        emit documentList(modal)->ItemClick(2);
        EXPECT_EQ(shownPicture(modal), NotAvailableSize);
        clickClose(modal);
    });
}

// Unset rights allow everything; a refusal or a null answer stops; a failing check lets add go
// ahead and stops the others.
TEST_F(BrowseDlgTest, TheRightsObjectDecidesWhichActionsGoAhead) {
    const struct {
        const char* what;
        std::shared_ptr<UserRights> rights;
        bool adds, edits, unlinks;
    } cases[] = {
        {"unset", nullptr, true, true, true},
        {"false", std::make_shared<ScriptedRights>(false), false, false, false},
        {"null", std::make_shared<ScriptedRights>(std::nullopt), false, false, false},
        {"failing", std::make_shared<ThrowingRights>(), true, false, false},
    };
    answerYes = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        manager->SetUM(c.rights);
        QStringList opened;
        const ModalDriver::Step work = [&](QWidget* modal) {
            clickButton(modal, "cmdAdd");
            documentList(modal)->SetSelected(documentList(modal)->FindItem(QStringLiteral("Acta")));
            clickButton(modal, "cmdEdit");
            documentList(modal)->SetSelected(documentList(modal)->FindItem(QStringLiteral("Acta")));
            clickButton(modal, "cmdDel");
            clickClose(modal);
        };
        const ModalDriver::Step closeNested = [&](QWidget* nested) {
            opened << nested->objectName();
            nested->close();
        };
        if (c.adds && c.edits) browse(parent, work, closeNested, closeNested);
        else if (c.adds) browse(parent, work, closeNested);
        else browse(parent, work);
        QStringList expected;
        if (c.adds) expected << QStringLiteral("dlgAdd");
        if (c.edits) expected << QStringLiteral("dlgEdit");
        EXPECT_EQ(opened, expected);
        EXPECT_EQ(shown.contains(QStringLiteral("No tiene permiso para agregar documentos|0|")), !c.adds);
        EXPECT_EQ(links(acta), c.unlinks ? 1 : 2);
        resetLinks();
    }
}

// Refuses only the items it is given.
class ItemRights : public UserRights {
public:
    explicit ItemRights(QStringList refused) : refused_(std::move(refused)) {}
    std::optional<bool> CheckItem(const QString& item) override { return !refused_.contains(item); }

private:
    QStringList refused_;
};

TEST_F(BrowseDlgTest, UnlinkingTheLastLinkDeletesTheDocumentWhenAllowed) {
    manager->SetCanDeleteDocument(QStringLiteral("borrar"));
    const struct {
        const char* what;
        QString parents, document;
        bool yes;
        QStringList refused;
        qint32 linksLeft;
        bool kept;
    } cases[] = {
        {"answered No", parent, "Acta", false, {}, 2, true},
        {"linked elsewhere too", parent, "Acta", true, {}, 1, true},
        {"several parents are one key", parent + "," + Key(QStringLiteral("OTRO")), "Acta", true, {}, 2, true},
        {"link right refused", parent, "Plano", true, {QStringLiteral("permiso")}, 1, true},
        {"delete right refused", parent, "Plano", true, {QStringLiteral("borrar")}, 0, true},
        {"last link", parent, "Plano", true, {}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        manager->SetUM(std::make_shared<ItemRights>(c.refused));
        answerYes = c.yes;
        resetLinks();
        const QString guid = c.document == QLatin1String("Acta") ? acta : plano;
        browse(c.parents, [&](QWidget* modal) {
            documentList(modal)->SetSelected(documentList(modal)->FindItem(c.document));
            clickButton(modal, "cmdDel");
            clickClose(modal);
        });
        EXPECT_EQ(shown.value(0),
                  QStringLiteral("¿Seguro desea eliminar el vínculo a este archivo y el contenido de ser "
                                 "posible?|276|"));
        EXPECT_EQ(exists(guid), c.kept);
        EXPECT_EQ(links(guid), c.linksLeft);
    }
}

TEST_F(BrowseDlgTest, AfterTheLastDocumentGoesTheListIsEmptyAndItsPictureStays) {
    manager->SetUM(nullptr);
    connection->Execute(QStringLiteral("DELETE FROM DocLink WHERE FK_Doc = '%1'").arg(acta));
    answerYes = true;
    browse(parent, [&](QWidget* modal) {
        clickButton(modal, "cmdDel");
        EXPECT_TRUE(listedNames(modal).isEmpty());
        EXPECT_EQ(shownPicture(modal), MiniatureSize);
        clickClose(modal);
    });
    EXPECT_FALSE(exists(plano));
}

TEST_F(BrowseDlgTest, EditingRefreshesTheList) {
    browse(
        parent,
        [&](QWidget* modal) {
            const DocumentList& items = documentList(modal)->ListItems();
            const QString edited = items.Text(documentList(modal)->SelectedItem());
            clickButton(modal, "cmdEdit");
            EXPECT_EQ(items.SubItem(documentList(modal)->FindItem(edited), DocumentList::DescriptionSubItem),
                      QStringLiteral("nueva"));
            clickClose(modal);
        },
        [&](QWidget* edit) {
            ModalDriver::typeInto(edit, QStringLiteral("txtDescription"), QStringLiteral("nueva"));
            ModalDriver::click(edit, QStringLiteral("cmdAceptar"));
        });
}

}  // namespace
