#include "platform/SpanishStandardParts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dorvanel {

namespace {

bool hostTranslatesQt() { return QCoreApplication::translate("QPlatformTheme", "Cancel") != QLatin1String("Cancel"); }

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
    if (hostTranslatesQt() || spanishQtTexts().isEmpty()) return;
    installed_ = QCoreApplication::installTranslator(&spanishQtTexts());
}

SpanishStandardParts::~SpanishStandardParts() {
    if (installed_) QCoreApplication::removeTranslator(&spanishQtTexts());
}

}  // namespace dorvanel
