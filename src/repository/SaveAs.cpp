#include "component/Globals.h"
#include "component/Manager.h"
#include "component/Oskel.h"
#include "platform/MessageBox.h"
#include "repository/DownloadPage.h"
#include "repository/DownloadPageText.h"
#include "repository/FailureStyles.h"

#include <QCoreApplication>

namespace dorvanel {

void Manager::SaveAs(const QString& sF) {
    QString folder;
    qint16 number = 0;
    ContinueOnFailure([&] { folder = Required(gOskel).FolderWithSeparator(gOskel->WorkFolder()); });
    ContinueOnFailure([&] { number = Required(gOskel).NumberBetween(1, 99); });
    const QString pageFile = folder + QStringLiteral("download") + QString::number(number) + QStringLiteral(".html");
    bool written = false;
    ContinueOnFailure([&] { written = Required(gOskel).WriteTextFile(pageFile, downloadPageText(sF)); });
    if (written) {
        ContinueOnFailure([&] { showDownloadPage(pageFile); });
    } else {
        ContinueOnFailure([&] {
            msgBox(QCoreApplication::translate("dorvanel::SaveAs", "Error al tratar de guardar archivo html temporal"),
                   vbOKOnly);
        });
    }
}

}  // namespace dorvanel
