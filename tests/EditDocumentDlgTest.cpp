#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/HostControl.h"
#include "dialogs/dlgEdit/dlgEdit.h"
#include "host/DefaultDocRecord.h"
#include "platform/ComponentFile.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "support/ModalDriver.h"
#include "support/RepositoryTest.h"
#include "support/SqlLogCapture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// A record whose every save is refused with the given number and text.
class RefusingDocRecord : public DefaultDocRecord {
public:
    RefusingDocRecord(qint32 number, QString text) : number_(number), text_(std::move(text)) {}
    bool Update() override { return false; }
    qint32 LastErr() const override { return number_; }
    QString LastErrDescrip() const override { return text_; }

private:
    qint32 number_;
    QString text_;
};

// A host's own control: a widget that records what it is given and may refuse one name.
class RecordingControl : public QWidget, public HostControl {
public:
    explicit RecordingControl(QString refused = QString()) : refused_(std::move(refused)) {}
    void SetProperty(const QString& name, const QVariant& value) override {
        if (name == refused_) throw Error(Error::NoSuchProperty, QStringLiteral("no ") + name);
        calls << name + QLatin1Char('=') + value.toString();
    }
    QVariant Property(const QString&) const override { return {}; }
    QStringList calls;

private:
    QString refused_;
};

class ThrowingHelpOskel : public RecordingOskel {
public:
    void ShowHelp(qint32, qint32) override { throw Error(Error::Unexpected, QStringLiteral("sin ayuda")); }
};

QString expectedVersion() {
    const QStringList parts = QStringLiteral(DORVANEL_TEST_PROJECT_VERSION).split(QLatin1Char('.'));
    return QStringLiteral("%1.%2.0.%3").arg(parts[0], parts[1], parts[2]);
}

class EditDocumentDlgTest : public RepositoryTest {
protected:
    void SetUp() override {
        RepositoryTest::SetUp();
        registered_ = HostClasses::Registered();
        if (IsSkipped()) return;
        guid = storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("x"));
        oskel->calls.clear();
    }
    void TearDown() override {
        restoreHostClasses();
        RepositoryTest::TearDown();
    }
    void restoreHostClasses() { HostClasses::Registered() = registered_; }

    // Description and keywords of the stored row, as "description|keywords".
    QString savedTexts() {
        auto row = connection->Execute(QStringLiteral("SELECT Description, Works FROM Docs WHERE Sys_GUID = ?"),
                                       {guid});
        return row->Fields(0).toString() + QLatin1Char('|') + row->Fields(1).toString();
    }
    static bool wroteRow(const SqlLogCapture& log) {
        return !log.statements().filter(QStringLiteral("UPDATE Docs")).isEmpty();
    }

    QString guid;
    const QString storedTexts = QStringLiteral("Descripción de Informe|clave");

private:
    HostClasses registered_;
};

TEST_F(EditDocumentDlgTest, OpensWithTheFrameTheDocumentAndTheFocusInTheDescription) {
    // The document's texts, as the boxes show them.
    const std::pair<const char*, QString> boxes[] = {
        {"txtName", QStringLiteral("Informe")},
        {"txtDescription", QStringLiteral("Descripción de Informe")},
        {"txtWords", QStringLiteral("clave")},
    };
    ModalDriver driver;
    driver.then([&](QWidget* dialog) {
        ASSERT_EQ(dialog->logicalDpiX(), 96) << "the size below is for 96 dpi";
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Editar información de registro"));
        EXPECT_EQ(dialog->minimumSize(), QSize(552, 212));
        EXPECT_EQ(dialog->maximumSize(), QSize(552, 212));
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::Tool) && flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint) || flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(dialog->geometry().center(), dialog->screen()->availableGeometry().center());
        for (const auto& [name, text] : boxes) {
            auto* widget = dialog->findChild<QWidget*>(QLatin1String(name));
            ASSERT_NE(widget, nullptr) << name;
            EXPECT_EQ(widget->property(qobject_cast<QPlainTextEdit*>(widget) ? "plainText" : "text").toString(), text)
                << name;
        }
        EXPECT_FALSE(dialog->findChild<QLineEdit*>(QStringLiteral("txtName"))->isEnabled());
        QStringList focusOrder{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 4; ++i) {
            ModalDriver::pressKey(dialog, Qt::Key_Tab);
            focusOrder << QApplication::focusWidget()->objectName();
        }
        EXPECT_EQ(focusOrder.join(QLatin1Char(' ')),
                  QStringLiteral("txtDescription txtWords cmdAceptar cmdClose cmdHelp"));
        auto* axKivra = dialog->findChild<QWidget*>(QStringLiteral("axKivra"));
        EXPECT_EQ(axKivra->property("modulo").toString(), QStringLiteral("Form/dlgEdit"));
        EXPECT_EQ(axKivra->property("Nombre").toString(), QStringLiteral("Dorvanel.dll"));
        EXPECT_EQ(axKivra->property("Ubicacion").toString(), ComponentFile::folder());
        EXPECT_EQ(axKivra->property("Version").toString(), expectedVersion());
        ModalDriver::click(dialog, QStringLiteral("cmdClose"));
    });
    EXPECT_FALSE(manager->EditDocumentDlg(guid));
    EXPECT_TRUE(driver.ranAllSteps());
}

TEST_F(EditDocumentDlgTest, AceptarWritesBothTextsAsTheyStand) {
    const struct {
        const char* what;
        QString description;  // typed unless null
        QString words;
        QString saved;
    } cases[] = {
        // in turn on the same row
        {"untouched", QString(), QString(), QStringLiteral("Descripción de Informe|clave")},
        {"changed", QStringLiteral("Informe corregido"), QStringLiteral("informe, 2026"),
         QStringLiteral("Informe corregido|informe, 2026")},
        {"emptied", QStringLiteral(""), QStringLiteral(""), QStringLiteral("|")},
    };
    for (const auto& c : cases) {
        SqlLogCapture log;
        ModalDriver driver;
        driver.then([&](QWidget* dialog) {
            if (!c.description.isNull()) ModalDriver::typeInto(dialog, QStringLiteral("txtDescription"), c.description);
            if (!c.words.isNull()) ModalDriver::typeInto(dialog, QStringLiteral("txtWords"), c.words);
            ModalDriver::click(dialog, QStringLiteral("cmdAceptar"));
        });
        EXPECT_TRUE(manager->EditDocumentDlg(guid)) << c.what;
        EXPECT_TRUE(driver.ranAllSteps()) << c.what;
        EXPECT_TRUE(wroteRow(log)) << c.what;
        EXPECT_EQ(savedTexts(), c.saved) << c.what;
        EXPECT_TRUE(driver.messages.isEmpty()) << c.what;
    }
    EXPECT_EQ(rowCount(QStringLiteral("SELECT * FROM Docs WHERE Name = 'Informe'")), 1) << "the name never changes";
}

TEST_F(EditDocumentDlgTest, CancelAndTheCloseBoxWriteNothing) {
    const struct {
        const char* what;
        std::function<void(QWidget*)> leave;
    } cases[] = {
        {"Cancelar", [](QWidget* dialog) { ModalDriver::click(dialog, QStringLiteral("cmdClose")); }},
        {"close box", ModalDriver::pressCloseBox},
    };
    for (const auto& c : cases) {
        SqlLogCapture log;
        ModalDriver driver;
        driver.then([&](QWidget* dialog) {
            ModalDriver::typeInto(dialog, QStringLiteral("txtDescription"), QStringLiteral("descartado"));
            c.leave(dialog);
        });
        EXPECT_FALSE(manager->EditDocumentDlg(guid)) << c.what;
        EXPECT_TRUE(driver.ranAllSteps()) << c.what;
        EXPECT_FALSE(wroteRow(log)) << c.what;
        EXPECT_EQ(savedTexts(), storedTexts) << c.what;
    }
}

TEST_F(EditDocumentDlgTest, KeysOfAnotherLengthGiveFalseWithoutAWindow) {
    for (const QString& key : {guid.left(31), guid + QLatin1Char('0')}) {
        ModalDriver driver;
        EXPECT_FALSE(manager->EditDocumentDlg(key)) << key.toStdString();
    }
}

TEST_F(EditDocumentDlgTest, EnterAndEscapePressNoButton) {
    ModalDriver driver;
    driver.then([&](QWidget* dialog) {
        for (const char* focus : {"txtDescription", "cmdAceptar", "cmdClose", "cmdHelp"}) {
            dialog->findChild<QWidget*>(QLatin1String(focus))->setFocus();
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                ModalDriver::pressKey(dialog, key);
                EXPECT_TRUE(dialog->isVisible()) << focus << " key " << key;
            }
        }
        ModalDriver::click(dialog, QStringLiteral("cmdClose"));
    });
    EXPECT_FALSE(manager->EditDocumentDlg(guid));
    EXPECT_TRUE(driver.ranAllSteps());
    EXPECT_EQ(savedTexts(), storedTexts);
    EXPECT_TRUE(oskel->calls.isEmpty()) << oskel->calls.join(QLatin1Char(',')).toStdString();
}

TEST_F(EditDocumentDlgTest, HelpAsksTheServicesObjectForContext10102AndIgnoresFailures) {
    const struct {
        const char* what;
        std::shared_ptr<Oskel> services;
    } cases[] = {
        {"recording", oskel},
        {"missing", nullptr},
        {"throwing", std::make_shared<ThrowingHelpOskel>()},
    };
    for (const auto& c : cases) {
        gOskel = c.services;
        oskel->calls.clear();
        qint32 handle = 0;
        ModalDriver driver;
        driver
            .then([&](QWidget* dialog) {
                handle = static_cast<qint32>(dialog->winId());
                ModalDriver::click(dialog, QStringLiteral("cmdHelp"));
            })
            .then([](QWidget* dialog) { ModalDriver::click(dialog, QStringLiteral("cmdClose")); });
        EXPECT_FALSE(manager->EditDocumentDlg(guid)) << c.what;
        EXPECT_TRUE(driver.ranAllSteps()) << c.what << ": the dialog stays open after help";
        EXPECT_TRUE(driver.messages.isEmpty()) << c.what;
        if (c.services == oskel) {
            EXPECT_EQ(oskel->calls, QStringList{QStringLiteral("ShowHelp %1 10102").arg(handle)});
        }
    }
}

TEST_F(EditDocumentDlgTest, RefusedSaveShowsTheRecordsTextOnlyWhenItHasANumber) {
    const struct {
        const char* what;
        std::function<std::shared_ptr<DocRecord>()> record;
        QString key;
        QStringList messages;
    } cases[] = {
        {"numbered refusal",
         [] { return std::make_shared<RefusingDocRecord>(3021, QStringLiteral("Sin fila")); },
         QString(),
         {QStringLiteral("Sin fila|64|Brenmoria 2014")}},
        {"refusal without number",
         [] { return std::make_shared<RefusingDocRecord>(0, QStringLiteral("Sin fila")); },
         QString(),
         {}},
        {"unknown document",
         nullptr,
         Key(QStringLiteral("NADIE")),
         {QStringLiteral("No hay un documento cargado|64|Brenmoria 2014")}},
    };
    for (const auto& c : cases) {
        restoreHostClasses();
        if (c.record) HostClasses::Registered().docRecord = c.record;
        ModalDriver driver;
        driver.then([](QWidget* dialog) { ModalDriver::click(dialog, QStringLiteral("cmdAceptar")); });
        EXPECT_FALSE(manager->EditDocumentDlg(c.key.isNull() ? guid : c.key)) << c.what;
        EXPECT_TRUE(driver.ranAllSteps()) << c.what;
        EXPECT_EQ(driver.messages, c.messages) << c.what;
        EXPECT_EQ(savedTexts(), storedTexts) << c.what;
    }
}

TEST_F(EditDocumentDlgTest, AceptarWithoutARecordSaysErrorDeCarga) {
    dlgEdit dialog;
    ModalDriver driver;
    driver.then([](QWidget* modal) { ModalDriver::click(modal, QStringLiteral("cmdAceptar")); });
    dialog.exec();
    EXPECT_TRUE(driver.ranAllSteps());
    EXPECT_EQ(driver.messages, QStringList{QStringLiteral("Error de carga|0|")});
    EXPECT_FALSE(dialog.Saved());
}

TEST_F(EditDocumentDlgTest, HostsControlIsPlacedAndSetUpAgainOnEveryLoad) {
    std::vector<std::shared_ptr<RecordingControl>> made;
    HostClasses::Registered().hostControl = [&made] {
        made.push_back(std::make_shared<RecordingControl>());
        return made.back();
    };
    for (int load = 0; load < 2; ++load) {
        ModalDriver driver;
        driver.then([&](QWidget* dialog) {
            EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("axKivra")), made.back().get());
            ModalDriver::click(dialog, QStringLiteral("cmdClose"));
        });
        EXPECT_FALSE(manager->EditDocumentDlg(guid));
        EXPECT_TRUE(driver.ranAllSteps());
    }
    const QStringList expected{QStringLiteral("modulo=Form/dlgEdit"), QStringLiteral("Nombre=Dorvanel.dll"),
                               QStringLiteral("Ubicacion=") + ComponentFile::folder(),
                               QStringLiteral("Version=") + expectedVersion()};
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0]->calls, expected);
    EXPECT_EQ(made[1]->calls, expected);
    EXPECT_EQ(made[0]->parent(), nullptr) << "a control the host still holds outlives its dialog";
}

TEST_F(EditDocumentDlgTest, LoadFailuresReachTheHostAndShowNoWindow) {
    const struct {
        const char* what;
        std::function<void()> arrange;
        qint32 number;
    } cases[] = {
        {"refusing host control",
         [] {
             HostClasses::Registered().hostControl = [] {
                 return std::make_shared<RecordingControl>(QStringLiteral("Version"));
             };
         },
         Error::NoSuchProperty},
        {"no connection", [this] { manager->SetADOCnn(nullptr); }, Error::ObjectNotSet},
    };
    for (const auto& c : cases) {
        restoreHostClasses();
        c.arrange();
        bool shown = false;
        ModalDriver driver;
        driver.then([&](QWidget*) { shown = true; });
        try {
            manager->EditDocumentDlg(guid);
            ADD_FAILURE() << c.what << ": no failure raised";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), c.number) << c.what;
        }
        EXPECT_FALSE(shown) << c.what;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.what;
    }
}

}  // namespace
