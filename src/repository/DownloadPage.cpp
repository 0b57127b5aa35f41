#include "repository/DownloadPage.h"

#include "repository/dlgHtml.h"

#include <QApplication>
#include <QTextStream>

namespace dorvanel {

namespace {

QString escapedForAttribute(const QString& value) {
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('"')) escaped += QLatin1String("&quot;");
        else if (c == QLatin1Char('<')) escaped += QLatin1String("&lt;");
        else if (c == QLatin1Char('>')) escaped += QLatin1String("&gt;");
        else escaped += c;
    }
    return escaped;
}

void showByEnvironment(const QString& pageFile) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        dlgHtml dialog;
        dialog.Navigate(pageFile);
        dialog.exec();
        return;
    }
    QTextStream(stderr) << "Descargar archivo: " << pageFile << Qt::endl;
}

DownloadPageShower& shower() {
    static DownloadPageShower current = showByEnvironment;
    return current;
}

}  // namespace

QString DownloadPageText(const QString& sF) {
    return QStringLiteral("<html><body><a href=\"") + escapedForAttribute(sF) +
           QStringLiteral("\" target=\"_blank\">Pulse aqu&iacute; para descargar el archivo. </a><br>"
                          "(O haga click con el bot&oacute;n derecho del mouse sobre el enlace y seleccione "
                          "Guardar como...)</body></html>");
}

void ShowDownloadPage(const QString& pageFile) { shower()(pageFile); }

DownloadPageShower SetDownloadPageShower(DownloadPageShower replacement) {
    DownloadPageShower previous = std::move(shower());
    shower() = replacement ? std::move(replacement) : DownloadPageShower(showByEnvironment);
    return previous;
}

}  // namespace dorvanel
