#include "component/Globals.h"
#include "platform/ComponentFile.h"
#include "repository/DocumentList.h"
#include "support/DialogTest.h"

#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

QLineEdit* searchBox(QWidget* modal) { return box<QLineEdit>(modal, "dxBuscar"); }

// Clicks the list's row whose name is given.
void clickRow(QWidget* modal, const QString& name) {
    ReportListView* view = documentList(modal);
    const qint32 item = view->FindItem(name);
    ASSERT_NE(item, 0) << name.toStdString();
    const QRect row = view->visualRect(view->model()->index(item - 1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
}

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
        if (IsSkipped()) return;
        for (const char* name : {"Contrato", "Factura 12", "Factura 3", "Plano"}) {
            const QString guid = storeFile(QLatin1String(name), QStringLiteral("pdf"), "x",
                                           QLatin1String(name) == QLatin1String("Plano") ? bmpPicture(MiniatureSize)
                                                                                         : QByteArray());
            guids[QLatin1String(name)] = guid;
            link(Key(QStringLiteral("A")), guid);
        }
    }

    template <typename... Steps>
    QString find(bool noMiniature, Steps... steps) {
        QString chosen;
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

void clickOK(QWidget* modal) { ModalDriver::click(modal, QStringLiteral("cmdOK")); }
void clickCancel(QWidget* modal) { ModalDriver::click(modal, QStringLiteral("cmdCancel")); }

TEST_F(FindDocumentDlgTest, OpensOnEveryDocumentOnceWithTheFocusInTheSearchBox) {
    link(Key(QStringLiteral("B")), guids[QStringLiteral("Plano")]);
    EXPECT_EQ(find(
                  true,
                  [&](QWidget* modal) {
                      expectFrame(modal, QStringLiteral("Buscar documentos"), {590, 393},
                                  QStringLiteral("Form/dlgFind"),
                                  QStringLiteral("dxBuscar mcdPreview cmdOK cmdCancel cmdHelp lvwDocs chkView"));
                      EXPECT_FALSE(box<QCheckBox>(modal, "chkView")->isChecked());
                      EXPECT_EQ(shownPicture(modal), BuiltInSize);
                      ReportListView* view = documentList(modal);
                      ASSERT_EQ(view->ListItems().Count(), 4);
                      QStringList shownHeadings;
                      for (int column = 0; column < view->model()->columnCount(); ++column)
                          if (!view->isColumnHidden(column))
                              shownHeadings << view->model()->headerData(column, Qt::Horizontal).toString();
                      EXPECT_EQ(shownHeadings.join(','), QStringLiteral("Nombre,Descripción,Tipo,Modificado,Alta"));
                      EXPECT_EQ(view->header()->sectionSize(1), 200);
                      clickRow(modal, QStringLiteral("Plano"));
                      EXPECT_EQ(shownPicture(modal), NotAvailableSize) << "no miniatures unless asked for";
                  },
                  clickCancel),
              QString());
}

TEST_F(FindDocumentDlgTest, TypingJumpsToTheFirstNameAndCompletesItUnlessErasing) {
    const struct {
        const char* keys;  // typed after the steps above; "<" is Backspace, ">" Delete
        const char* box;   // the text, its selected part in brackets
        const char* selected;
    } steps[] = {
        {"fac", "Fac[tura 12]", "Factura 12"},
        {"tura ", "Factura [12]", "Factura 12"},
        {"3", "Factura 3", "Factura 3"},
        {"<", "Factura ", "Factura 12"},
        {"<<<<<<<<", "", "Contrato"},
        {"Pla", "Pla[no]", "Plano"},
        {">", "Pla", "Plano"},
        {"zz", "Plazz", "Plano"},
    };
    EXPECT_EQ(find(
                  true,
                  [&](QWidget* modal) {
                      QLineEdit* search = searchBox(modal);
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
                  },
                  clickOK),
              guids[QStringLiteral("Plano")]);
}

TEST_F(FindDocumentDlgTest, PreviewsFetchMiniaturesThroughATemporaryFileThatIsGone) {
    EXPECT_EQ(find(
                  false,
                  [&](QWidget* modal) {
                      EXPECT_TRUE(box<QCheckBox>(modal, "chkView")->isChecked());
                      clickRow(modal, QStringLiteral("Plano"));
                      EXPECT_EQ(shownPicture(modal), MiniatureSize);
                      EXPECT_TRUE(QDir(ComponentFile::tempFolder()).entryList({"temp.*"}).isEmpty());
                      clickRow(modal, QStringLiteral("Contrato"));
                      EXPECT_EQ(shownPicture(modal), NotAvailableSize) << "no miniature stored";
                      ModalDriver::click(modal, QStringLiteral("chkView"));
                      EXPECT_EQ(shownPicture(modal), NotAvailableSize) << "only the next preview changes";
                      clickRow(modal, QStringLiteral("Plano"));
                      EXPECT_EQ(shownPicture(modal), NotAvailableSize);
                  },
                  clickCancel),
              QString());
}

TEST_F(FindDocumentDlgTest, OpenReportsLastErrAndHelpAsksForContext10103) {
    manager->SetLastErr(3021);
    manager->SetLastErrDescrip(QStringLiteral("fallo anterior"));
    qint32 handle = 0;
    find(true, [&](QWidget* modal) {
        handle = static_cast<qint32>(modal->winId());
        ModalDriver::click(modal, QStringLiteral("mcdPreview"));
        ModalDriver::click(modal, QStringLiteral("cmdHelp"));
        ModalDriver::pressCloseBox(modal);
    });
    EXPECT_EQ(shown, QStringList{QStringLiteral("fallo anterior|64|Brenmoria 2014")});
    EXPECT_EQ(shownPages.size(), 1) << "a pdf is offered on the download page";
    EXPECT_TRUE(oskel->calls.contains(QStringLiteral("ShowHelp %1 10103").arg(handle)));
}

// On an empty list OK does nothing: only Cancel ends the dialog, and nothing is chosen.
TEST_F(FindDocumentDlgTest, OkNeedsASelection) {
    QString chosen = QStringLiteral("sin llamar");
    drive(
        [&] {
            chosen = manager->SelectDocDlg(Key(QStringLiteral("NADIE")));
            return true;
        },
        [&](QWidget* modal) {
            clickOK(modal);
            EXPECT_TRUE(modal->isVisible());
            clickCancel(modal);
        });
    EXPECT_EQ(chosen, QString());
}

}  // namespace
