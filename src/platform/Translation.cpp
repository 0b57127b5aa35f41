#include "platform/Translation.h"

#include "platform/ComponentFile.h"

#include <QTranslator>

namespace dorvanel {

QString translationsFolder() { return ComponentFile::folder() + QStringLiteral("/resource/translations"); }

bool loadTranslation(QTranslator& translator, const QLocale& locale) {
    for (const QString& tag : locale.uiLanguages()) {
        const QLocale::Language language = QLocale(tag).language();
        if (language == QLocale::Spanish) return false;
        if (language == QLocale::C || language == QLocale::AnyLanguage) continue;
        const QString file = QStringLiteral("dorvanel_") + QLocale::languageToCode(language);
        if (translator.load(file, translationsFolder())) return true;
    }
    return false;
}

}  // namespace dorvanel
