#include "repository/DownloadPageText.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace dorvanel {

namespace {

QString escapedForAttribute(const QString& value) {
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&': escaped += QLatin1String("&amp;"); break;
        case '"': escaped += QLatin1String("&quot;"); break;
        case '<': escaped += QLatin1String("&lt;"); break;
        case '>': escaped += QLatin1String("&gt;"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

// Browsers ignore blanks and control characters before the scheme, and its case.
bool runsCode(const QString& location) {
    static const QStringList schemes{QStringLiteral("javascript:"), QStringLiteral("vbscript:"),
                                     QStringLiteral("data:")};
    QString scheme;
    for (qsizetype i = 0; i < location.size() && scheme.size() < 12; ++i)
        if (location[i].unicode() > ' ') scheme += location[i].toLower();
    return std::any_of(schemes.begin(), schemes.end(), [&](const QString& s) { return scheme.startsWith(s); });
}

}  // namespace

QString downloadPageText(const QString& sF) {
    const QString target = runsCode(sF) ? QString()
                                        : QStringLiteral(" href=\"") + escapedForAttribute(sF) + QLatin1Char('"');
    // The texts are markup as they stand: their accents are written as entities.
    return QStringLiteral("<html><body><a") + target + QStringLiteral(" target=\"_blank\">") +
           QCoreApplication::translate("dorvanel::DownloadPage", "Pulse aqu&iacute; para descargar el archivo. ") +
           QStringLiteral("</a><br>") +
           QCoreApplication::translate("dorvanel::DownloadPage",
                                       "(O haga click con el bot&oacute;n derecho del mouse sobre el enlace y "
                                       "seleccione Guardar como...)") +
           QStringLiteral("</body></html>");
}

}  // namespace dorvanel
