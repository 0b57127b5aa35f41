#include "platform/SpanishStandardParts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dorvanel {

namespace {

// Qt's text, not one of ours: named through a variable, so that lupdate leaves it out of our own.
bool hostTranslatesQt() {
    const char* const qtContext = "QPlatformTheme";
    return QCoreApplication::translate(qtContext, "Cancel") != QLatin1String("Cancel");
}

// The component's own texts are Spanish unless the host installed a translation of them.
bool componentSpeaksSpanish() {
    return QCoreApplication::translate("dorvanel::MessageBox", "Aceptar") == QLatin1String("Aceptar");
}

// Loaded once, at the first dialog that needs it; a translator that found no file is empty.
QTranslator& spanishQtTexts() {
    static QTranslator* translator = [] {
        auto* loaded = new QTranslator(QCoreApplication::instance());
        (void)loaded->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return loaded;
    }();
    return *translator;
}

}  // namespace

SpanishStandardParts::SpanishStandardParts() {
    if (hostTranslatesQt() || !componentSpeaksSpanish() || spanishQtTexts().isEmpty()) return;
    installed_ = QCoreApplication::installTranslator(&spanishQtTexts());
}

SpanishStandardParts::~SpanishStandardParts() {
    if (installed_) QCoreApplication::removeTranslator(&spanishQtTexts());
}

}  // namespace dorvanel
