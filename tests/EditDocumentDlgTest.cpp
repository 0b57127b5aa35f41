#include "component/HostControl.h"
#include "host/DefaultDocRecord.h"
#include "platform/Recordset.h"
#include "support/DialogTest.h"

#include <QLineEdit>
#include <QScreen>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// A record whose every save is refused with the given number and text.
class RefusingDocRecord : public DefaultDocRecord {
public:
    explicit RefusingDocRecord(qint32 number) : number_(number) {}
    bool Update() override { return false; }
    qint32 LastErr() const override { return number_; }
    QString LastErrDescrip() const override { return QStringLiteral("Sin fila"); }

private:
    qint32 number_;
};

// A host's own control: a widget that records what it is given.
class RecordingControl : public QWidget, public HostControl {
public:
    void SetProperty(const QString& name, const QVariant& value) override {
        calls << name + QLatin1Char('=') + value.toString();
    }
    QVariant Property(const QString&) const override { return {}; }
    QStringList calls;
};

class EditDocumentDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (!databaseReady()) return;
        guid = storeFile(QStringLiteral("Informe"), QStringLiteral("pdf"), QByteArray("x"));
        oskel->calls.clear();
    }

    template <typename... Steps>
    bool edit(const QString& key, Steps... steps) {
        return drive([&] { return manager->EditDocumentDlg(key); }, steps...);
    }
    // Description and keywords of the stored row, as "description|keywords".
    QString savedTexts() {
        auto row = connection->Execute(QStringLiteral("SELECT Description, Works FROM Docs WHERE Sys_GUID = ?"),
                                       {guid});
        return row->value(0).toString() + QLatin1Char('|') + row->value(1).toString();
    }

    QString guid;
    const QString storedTexts = QStringLiteral("Descripción de Informe|clave");
};

// The host's own control, when it gives one, is placed and set up again on every load.
TEST_F(EditDocumentDlgTest, OpensCentredWithTheDocumentsTextsAndTheFocusInTheDescription) {
    std::vector<std::shared_ptr<RecordingControl>> made;
    HostClasses::registered().hostControl = [&made] { return made.emplace_back(std::make_shared<RecordingControl>()); };
    const auto look = [&](QWidget* dialog) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("txtDescription"));
        EXPECT_EQ(box(dialog, "axKivra"), made.back().get());
        EXPECT_EQ(dialog->geometry().center(), dialog->screen()->availableGeometry().center());
        EXPECT_EQ(box<QLineEdit>(dialog, "txtName")->text(), QStringLiteral("Informe"));
        EXPECT_FALSE(box(dialog, "txtName")->isEnabled());
        click(dialog, "cmdClose");
    };
    for (int load = 0; load < 2; ++load) EXPECT_FALSE(edit(guid, look));
    ASSERT_EQ(made.size(), 2u);
    for (const auto& control : made) EXPECT_EQ(control->calls, hostProperties(QStringLiteral("Form/dlgEdit")));
    EXPECT_EQ(made[0]->parent(), nullptr) << "a control the host still holds outlives its dialog";
}

TEST_F(EditDocumentDlgTest, AceptarWritesBothTextsAsTheyStandAndTheWaysOutWriteNothing) {
    struct Case {
        const char* what;
        QString description, words;  // typed unless null
        ModalDriver::Step leave;
        QString saved;  // none when nothing is written
    };
    // Return, Enter and Escape leave the dialog open, on a box as on a button.
    const auto keysThenCloseBox = [](QWidget* dialog) {
        for (const char* focus : {"txtDescription", "cmdAceptar"}) {
            box(dialog, focus)->setFocus();
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                ModalDriver::pressKey(dialog, key);
                EXPECT_TRUE(dialog->isVisible()) << focus << " key " << key;
            }
        }
        ModalDriver::pressCloseBox(dialog);
    };
    const QString discarded = QStringLiteral("descartado");
    const Case cases[] = {
        {"close button", discarded, {}, clicking("cmdClose"), {}},
        {"keys then close box", discarded, {}, keysThenCloseBox, {}},
        // Then Aceptar, in turn on the same row.
        {"untouched", {}, {}, clicking("cmdAceptar"), storedTexts},
        {"changed", QStringLiteral("Informe corregido"), QStringLiteral("informe, 2026"), clicking("cmdAceptar"),
         QStringLiteral("Informe corregido|informe, 2026")},
        {"emptied", QStringLiteral(""), QStringLiteral(""), clicking("cmdAceptar"), QStringLiteral("|")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool writes = !c.saved.isNull();
        EXPECT_EQ(edit(guid,
                       [&](QWidget* dialog) {
                           if (!c.description.isNull())
                               ModalDriver::typeInto(dialog, QStringLiteral("txtDescription"), c.description);
                           if (!c.words.isNull()) ModalDriver::typeInto(dialog, QStringLiteral("txtWords"), c.words);
                           c.leave(dialog);
                       }),
                  writes);
        EXPECT_EQ(savedTexts(), writes ? c.saved : storedTexts);
        EXPECT_TRUE(shown.isEmpty());
        EXPECT_TRUE(oskel->calls.isEmpty()) << oskel->calls.join(QLatin1Char(',')).toStdString();
    }
}

TEST_F(EditDocumentDlgTest, KeysOfAnotherLengthGiveFalseWithoutAWindow) {
    for (const QString& key : {guid.left(31), guid + QLatin1Char('0')}) EXPECT_FALSE(edit(key)) << key.toStdString();
}

TEST_F(EditDocumentDlgTest, RefusedSaveShowsTheRecordsTextOnlyWhenItHasANumber) {
    const struct {
        std::optional<qint32> refusal;  // the record's error number, if it refuses
        QString key;
        QStringList messages;
    } cases[] = {
        {3021, guid, {informed(QStringLiteral("Sin fila"))}},
        {0, guid, {}},
        {std::nullopt, Key(QStringLiteral("NADIE")), {informed(QStringLiteral("No hay un documento cargado"))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        restoreHostClasses();
        if (const auto number = c.refusal)
            HostClasses::registered().docRecord = [number] { return std::make_shared<RefusingDocRecord>(*number); };
        EXPECT_FALSE(edit(c.key, clicking("cmdAceptar")));
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(savedTexts(), storedTexts);
    }
}

TEST_F(EditDocumentDlgTest, WithoutAConnectionTheDialogFailsToLoadAndShowsNoWindow) {
    manager->SetADOCnn(nullptr);
    expectLoadFailure([&] { manager->EditDocumentDlg(guid); }, Error::ObjectNotSet);
}

}  // namespace
