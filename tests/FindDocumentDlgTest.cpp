#include "repository/DocumentList.h"
#include "support/DialogTest.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// The box's text with its selected part in brackets: "Fac[tura 12]".
QString withSelection(QLineEdit* box) {
    QString text = box->text();
    if (box->hasSelectedText()) text.insert(box->selectionEnd(), QLatin1Char(']')).insert(box->selectionStart(), '[');
    return text;
}

class FindDocumentDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (!databaseReady()) return;
        for (const char* name : {"Contrato", "Factura 12", "Factura 3", "Plano"}) {
            const bool hasMiniature = QLatin1String(name) == QLatin1String("Plano");
            guids[name] = storeFile(name, QStringLiteral("pdf"), "x",
                                    hasMiniature ? pictureBytes(MiniatureSize) : QByteArray());
            link(Key(QStringLiteral("A")), guids[name]);
        }
    }

    template <typename... Steps>
    QString find(bool noMiniature, Steps... steps) {
        QString chosen = QStringLiteral("sin llamar");
        drive(
            [&] {
                chosen = manager->SelectDocDlg(QString(), QStringLiteral("ignoradas"), QString(), noMiniature);
                return true;
            },
            steps...);
        return chosen;
    }

    QHash<QString, QString> guids;
};

TEST_F(FindDocumentDlgTest, EachColumnShowsItsOwnValueOfTheDocument) {
    connection->Execute(QStringLiteral("DELETE FROM Docs"));
    const QString guid = storeDistinctDocument(Key(QStringLiteral("A")));
    find(true, [&](QWidget* modal) {
        expectColumns(modal, {{QStringLiteral("Nombre"), QStringLiteral("Cuaderno"), true},
                              {QStringLiteral("Descripción"), QStringLiteral("Descripción de Cuaderno"), true},
                              {QStringLiteral("Tipo"), QStringLiteral("odt"), true},
                              {QStringLiteral("Modificado"), today(), true},
                              {QStringLiteral("Alta"), QStringLiteral("2001-02-03"), true},
                              {QStringLiteral("Palabras"), QStringLiteral("clave"), false},
                              {QStringLiteral("Sys_PK"), QString::number(pkOf(guid)), false},
                              {QStringLiteral("Sys_Guid"), guid, false},
                              {QStringLiteral("Sis"), QString(), false}});
        click(modal, "cmdCancel");
    });
}

// The dialog opens on every document once, the focus in the search box.
TEST_F(FindDocumentDlgTest, TypingJumpsToTheFirstNameAndCompletesItUnlessErasing) {
    link(Key(QStringLiteral("B")), guids["Plano"]);
    const struct {
        const char* keys;  // typed after the steps above; "<" is Backspace, ">" Delete
        const char* box;   // the text, its selected part in brackets
        const char* selected;
    } steps[] = {
        {"fac", "Fac[tura 12]", "Factura 12"},
        {"tura 3", "Factura 3", "Factura 3"},
        {"<", "Factura ", "Factura 12"},
        {"<<<<<<<<", "", "Contrato"},
        {"Pla", "Pla[no]", "Plano"},
        {">", "Pla", "Plano"},
        {"zz", "Plazz", "Plano"},
    };
    const auto type = [&](QWidget* modal) {
        auto* search = box<QLineEdit>(modal, "dxBuscar");
        EXPECT_EQ(QApplication::focusWidget(), search);
        EXPECT_EQ(documentList(modal)->ListItems().Count(), 4);
        EXPECT_FALSE(box<QCheckBox>(modal, "chkView")->isChecked()) << "no miniatures unless asked for";
        for (const auto& step : steps) {
            for (const QChar key : QString::fromUtf8(step.keys))
                key == '<'   ? QTest::keyClick(search, Qt::Key_Backspace)
                : key == '>' ? QTest::keyClick(search, Qt::Key_Delete)
                             : QTest::keyClicks(search, QString(key));
            EXPECT_EQ(withSelection(search), QString::fromUtf8(step.box)) << step.keys;
            ReportListView* view = documentList(modal);
            EXPECT_EQ(view->ListItems().Text(view->SelectedItem()), QString::fromUtf8(step.selected));
        }
        EXPECT_EQ(shownPicture(modal), BuiltInSize) << "a search changes no preview";
    };
    EXPECT_EQ(find(true, type, clicking("cmdOK")), guids["Plano"]);
}

TEST_F(FindDocumentDlgTest, PreviewsFetchMiniaturesThroughATemporaryFileThatIsGone) {
    const auto preview = [&](QWidget* modal) {
        EXPECT_TRUE(box<QCheckBox>(modal, "chkView")->isChecked());
        clickRow(modal, QStringLiteral("Plano"));
        EXPECT_EQ(shownPicture(modal), MiniatureSize);
        EXPECT_TRUE(QDir(ComponentFile::tempFolder()).entryList({"temp.*"}).isEmpty());
        clickRow(modal, QStringLiteral("Contrato"));
        EXPECT_EQ(shownPicture(modal), NotAvailableSize) << "no miniature stored";
        click(modal, "chkView");
        EXPECT_EQ(shownPicture(modal), NotAvailableSize) << "only the next preview changes";
        clickRow(modal, QStringLiteral("Plano"));
        EXPECT_EQ(shownPicture(modal), NotAvailableSize);
    };
    EXPECT_EQ(find(false, preview, clicking("cmdCancel")), QString());
}

}  // namespace
