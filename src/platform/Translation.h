#pragma once

#include <QLocale>
#include <QString>

#include "dorvanel_export.h"

class QTranslator;

namespace dorvanel {

/// The component's texts are Spanish; the translations it ships into other languages are files
/// dorvanel_LANGUAGE.qm (dorvanel_en.qm for English) in this folder: "resource/translations" in
/// the folder of the library file.
DORVANEL_EXPORT QString translationsFolder();

/// Loads into translator the component's translation for the first of locale's languages that is
/// Spanish or has a translation in translationsFolder(). True when it loaded one, which the host
/// then installs with QCoreApplication::installTranslator before it shows a dialog; false when
/// that language is Spanish, or none of them has a translation (the C locale has no language):
/// the texts stay Spanish.
DORVANEL_EXPORT bool loadTranslation(QTranslator& translator, const QLocale& locale = QLocale());

}  // namespace dorvanel
