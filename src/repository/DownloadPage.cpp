#include "repository/DownloadPage.h"

#include "platform/Seam.h"
#include "platform/SpanishStandardParts.h"
#include "repository/DownloadName.h"
#include "repository/dlgHtml.h"

#include <QApplication>
#include <QTextStream>

namespace dorvanel {

namespace {

void showByEnvironment(const QString& pageFile) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const SpanishStandardParts language;
        dlgHtml dialog;
        dialog.SetDocumentName(DownloadName::current());
        dialog.Navigate(pageFile);
        dialog.exec();
        return;
    }
    QTextStream(stderr) << QCoreApplication::translate("dorvanel::DownloadPage", "Descargar archivo: %1").arg(pageFile)
                        << Qt::endl;
}

Seam<void(const QString&)>& shower() {
    static Seam<void(const QString&)> seam(showByEnvironment);
    return seam;
}

}  // namespace

void showDownloadPage(const QString& pageFile) { shower()(pageFile); }

DownloadPageShower setDownloadPageShower(DownloadPageShower replacement) {
    return shower().replace(std::move(replacement));
}

}  // namespace dorvanel
