#pragma once

#include <QCoreApplication>
#include <QString>

namespace dorvanel::cli {

// The program's texts are Spanish, and they are the source texts of its translations (the
// context "dorvanel::cli::Texts" of translations/dorvanel-cli_en.ts): Texts::tr("...") where a
// text is used, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "...") where a table holds it.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(dorvanel::cli::Texts)
};

// A text a table marked with QT_TRANSLATE_NOOP, translated as it is shown.
inline QString translated(const QString& text) { return Texts::tr(text.toUtf8().constData()); }

}  // namespace dorvanel::cli
