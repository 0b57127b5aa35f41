#include "component/Globals.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "component/Oskel.h"
#include "component/WorkFiles.h"
#include "repository/DocumentToTempFile.h"
#include "repository/FailureStyles.h"
#include "repository/SqlTexts.h"

#include <QStringList>

namespace dorvanel {

namespace {

bool isPictureType(const QString& typeCode) {
    static const QStringList pictures{QStringLiteral("bmp"), QStringLiteral("dib"),  QStringLiteral("jpeg"),
                                      QStringLiteral("jpg"), QStringLiteral("jpe"),  QStringLiteral("jfif"),
                                      QStringLiteral("gif"), QStringLiteral("tiff"), QStringLiteral("tif"),
                                      QStringLiteral("png")};
    return pictures.contains(typeCode.toLower());
}

}  // namespace

void Manager::OpenDocument(qint32 Sys_PK, const QString& TFile, bool saveAs) {
    StopAndRecord(d_->lastFailure, [&] {
        if (Sys_PK == 0 || TFile.isEmpty()) return;
        const QString file = DocumentToTempFile(Required(gManager).ADOCnn(), SqlTexts::documentContent(Sys_PK),
                                                QStringLiteral("data"), Sys_PK);
        if (isPictureType(TFile) && !saveAs) {
            WorkFiles::HandedOver(file);
            Required(gOskel).ShellOpen(file, QStringLiteral("open"), 0);
        } else {
            SaveAs(file);
        }
    });
}

}  // namespace dorvanel
