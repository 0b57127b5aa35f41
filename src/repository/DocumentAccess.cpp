#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/Oskel.h"
#include "platform/MessageBox.h"
#include "repository/DocRecord.h"
#include "repository/DownloadPage.h"
#include "repository/FailureStyles.h"
#include "repository/SqlTexts.h"
#include "repository/TempFiles.h"

#include <QStringList>

namespace dorvanel {

namespace {

bool isPictureType(const QString& typeCode) {
    static const QStringList pictures{QStringLiteral("bmp"), QStringLiteral("dib"), QStringLiteral("jpeg"),
                                      QStringLiteral("jpg"), QStringLiteral("jpe"), QStringLiteral("jfif"),
                                      QStringLiteral("gif"), QStringLiteral("tiff"), QStringLiteral("tif"),
                                      QStringLiteral("png")};
    return pictures.contains(typeCode.toLower());
}

}  // namespace

QString Manager::GetDocumentFile(const QString& sGuid) {
    auto record = CreateDocRecord();
    record_ = record;
    record->LoadFromADOConnection(0, sGuid, connection_);
    const QString result = record->Data();
    record_.reset();
    return result;
}

QString Manager::GetDocFileByName(const QString& /*sParent*/, const QString& /*sName*/) { return QString(); }

bool Manager::RemoveDocument(const QString& sGuid) {
    bool result = false;
    std::shared_ptr<DocRecord> record;
    ContinueOnFailure([&] { record_ = record = CreateDocRecord(); });
    ContinueOnFailure([&] { Required(record).LoadFromADOConnection(0, sGuid, connection_); });
    ContinueOnFailure([&] { result = Required(record).Delete(); });
    if (!result) ContinueOnFailure([&] { recordFailure(Required(record).LastErr(), record->LastErrDescrip()); });
    record_.reset();
    return result;
}

void Manager::OpenDocument(qint32 Sys_PK, const QString& TFile, bool saveAs) {
    StopAndRecord(*this, [&] {
        if (Sys_PK == 0 || TFile.isEmpty()) return;
        const QString file =
            DocumentToTempFile(Required(gManager).ADOCnn(), SqlTexts::DocumentContent(Sys_PK), QStringLiteral("data"));
        if (isPictureType(TFile) && !saveAs) {
            Required(gOskel).ShellOpen(file, QStringLiteral("open"), 0);
        } else {
            SaveAs(file);
        }
    });
}

void Manager::SaveAs(const QString& sF) {
    QString folder;
    qint16 number = 0;
    ContinueOnFailure([&] { folder = Required(gOskel).FolderWithSeparator(gOskel->WorkFolder()); });
    ContinueOnFailure([&] { number = Required(gOskel).NumberBetween(1, 99); });
    const QString pageFile = folder + QStringLiteral("download") + QString::number(number) + QStringLiteral(".html");
    bool written = false;
    ContinueOnFailure([&] { written = Required(gOskel).WriteTextFile(pageFile, DownloadPageText(sF)); });
    if (written) {
        ContinueOnFailure([&] { ShowDownloadPage(pageFile); });
    } else {
        ContinueOnFailure([&] { MsgBox(QStringLiteral("Error al tratar de guardar archivo html temporal"), vbOKOnly); });
    }
}

}  // namespace dorvanel
