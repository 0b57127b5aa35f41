// The component's texts with and without its English translation installed: Spanish, exactly as
// written, unless the host installs the translation.

#include "dialogs/dlgAdd/dlgAdd.h"
#include "dialogs/dlgFind/dlgFind.h"
#include "dialogs/lists/ReportListView.h"
#include "platform/SpanishStandardParts.h"
#include "platform/Translation.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

using namespace dorvanel;

namespace {

// Installs the component's English translation while it lives, or nothing.
class EnglishTexts {
public:
    explicit EnglishTexts(bool installed) {
        if (!installed) return;
        EXPECT_TRUE(loadTranslation(translator_, QLocale(QStringLiteral("en_US"))));
        EXPECT_TRUE(QCoreApplication::installTranslator(&translator_));
    }
    ~EnglishTexts() { QCoreApplication::removeTranslator(&translator_); }
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;

private:
    QTranslator translator_;
};

// Runs action, answering each message box it shows with its first button; each box as "title|text|buttons".
QStringList messageBoxesOf(const std::function<void()>& action) {
    QStringList boxes;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        QStringList buttons;
        for (QAbstractButton* button : box->buttons()) buttons << button->text();
        boxes << QStringList{box->windowTitle(), box->text(), buttons.join(QLatin1Char(','))}.join(QLatin1Char('|'));
        box->buttons().constFirst()->click();
    });
    poll.start(10);
    action();
    return boxes;
}

struct Language {
    const char* name;
    bool translated;
    QStringList addDialog;  // title, the browse button, the OK button, the message of an empty path
    QString firstHeading;   // of the find dialog's list
};

const Language Languages[] = {
    {"Spanish",
     false,
     {QStringLiteral("Adjuntar documento"), QStringLiteral("&Examinar"), QStringLiteral("&Aceptar"),
      QStringLiteral("Dorvanel|Introduzca ruta del archivo|Aceptar")},
     QStringLiteral("Nombre")},
    {"English",
     true,
     {QStringLiteral("Attach document"), QStringLiteral("&Browse"), QStringLiteral("&OK"),
      QStringLiteral("Dorvanel|Enter the file's path|OK")},
     QStringLiteral("Name")},
};

}  // namespace

TEST(Translation, DialogsAndMessageBoxesSpeakSpanishUnlessTheEnglishTranslationIsInstalled) {
    for (const Language& language : Languages) {
        SCOPED_TRACE(language.name);
        const EnglishTexts english(language.translated);
        dlgAdd add;
        add.show();
        QStringList seen{add.windowTitle(), add.findChild<QPushButton*>(QStringLiteral("cmdExplorer"))->text(),
                         add.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text()};
        seen << messageBoxesOf([&] { add.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); });
        EXPECT_EQ(seen, language.addDialog);

        const dlgFind find;
        const auto* list = find.findChild<ReportListView*>(QStringLiteral("lvwDocs"));
        EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), language.firstHeading);
    }
}

TEST(Translation, TheLanguageIsTheFirstOfTheLocaleThatIsSpanishOrShipped) {
    EXPECT_TRUE(QFileInfo::exists(translationsFolder() + QStringLiteral("/dorvanel_en.qm")))
        << translationsFolder().toStdString();
    const struct {
        const char* locale;
        bool loaded;
    } cases[] = {{"en_US", true}, {"en_GB", true}, {"es_ES", false}, {"C", false}, {"de_DE", false}};
    for (const auto& c : cases) {
        QTranslator translator;
        EXPECT_EQ(loadTranslation(translator, QLocale(QLatin1String(c.locale))), c.loaded) << c.locale;
    }
}

// Qt's Spanish stands in for Qt's own texts only beside the component's Spanish ones.
TEST(Translation, QtsSpanishStandsInOnlyWhileTheComponentSpeaksSpanish) {
    QTranslator qtSpanish;
    if (!qtSpanish.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        GTEST_SKIP() << "Qt's Spanish translation is not installed";
    for (const bool translated : {false, true}) {
        const EnglishTexts english(translated);
        const SpanishStandardParts parts;
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  translated ? QStringLiteral("Cancel") : QStringLiteral("Cancelar"));
    }
}
