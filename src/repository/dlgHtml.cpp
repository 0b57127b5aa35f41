#include "repository/dlgHtml.h"

#include "platform/Error.h"
#include "platform/MessageBox.h"
#include "platform/WindowDesign.h"
#include "repository/DownloadName.h"
#include "repository/FileCopyProgress.h"
#include "repository/PageBrowser.h"
#include "repository/SaveTargetDialog.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QUrl>

namespace dorvanel {

dlgHtml::dlgHtml(QWidget* parent)
    : QDialog(parent, FixedWindowFlags), WB(new PageBrowser(this)), cmdCerrar(new QPushButton(tr("&Cerrar"), this)) {
    setObjectName(QStringLiteral("dlgHtml"));
    setWindowTitle(tr("Descargar archivo"));
    WB->setObjectName(QStringLiteral("WB"));
    WB->setGeometry(designPixels({15, 15, 4635, 2520}));
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));
    cmdCerrar->setGeometry(designPixels({3060, 2565, 1575, 510}));
    cmdCerrar->setAutoDefault(false);
    scaleDesignToScreen(*this, {4680, 3090});
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::accept);
    connect(WB, &PageBrowser::saveRequested, this, &dlgHtml::save);
    connect(WB, &PageBrowser::openRequested, this, [](const QUrl& target) { QDesktopServices::openUrl(target); });
}

void dlgHtml::Navigate(const QString& pageFile) { WB->setSource(QUrl::fromLocalFile(pageFile)); }

// A failure is told in the component's own words, and the page stays for another try.
void dlgHtml::save(const QString& file) {
    const QString target = AskSaveTarget(this, proposedFileName(documentName_, file));
    if (target.isEmpty()) return;
    try {
        CopyFileWithProgress(file, target, this);
    } catch (...) {
        msgBox(Error::fromCurrentException().description(), vbOKOnly);
    }
}

}  // namespace dorvanel
