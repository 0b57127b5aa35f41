#include "dialogs/DraggedDocument.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "component/WorkFiles.h"
#include "dialogs/lists/ReportListView.h"
#include "platform/ComponentFile.h"
#include "platform/FileNames.h"
#include "repository/DocumentContent.h"
#include "repository/DocumentList.h"
#include "repository/FailureStyles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

namespace dorvanel {

namespace {

const QString UriList = QStringLiteral("text/uri-list");

// The name a file manager shows: the document's name with its type as the extension, unless
// the name ends with it already.
QString fileNameOf(const QString& name, const QString& type) {
    const QString base = name.trimmed().isEmpty()
                             ? QCoreApplication::translate("dorvanel::DraggedDocument", "documento")
                             : name.trimmed();
    const QString extension = QLatin1Char('.') + type;
    if (type.isEmpty() || base.endsWith(extension, Qt::CaseInsensitive)) return base;
    return base + extension;
}

// Each drag writes to a folder of its own, so that two documents of one name never meet.
QString newDragFolder() {
    QTemporaryDir folder(fileInFolder(ComponentFile::tempFolder(), QStringLiteral("arrastre-XXXXXX")));
    if (!folder.isValid())
        throw Error(Error::FileFailed,
                    QCoreApplication::translate("dorvanel::DraggedDocument", "No se pudo crear una carpeta en %1: %2")
                        .arg(ComponentFile::tempFolder(), folder.errorString()));
    folder.setAutoRemove(false);
    return folder.path();
}

QString writeContent(const QString& guid, const QString& fileName) {
    const QString folder = newDragFolder();
    const QString path = fileInFolder(folder, fileName);
    QFile file(path);
    bool copied = false;
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        ContinueOnFailure(
            [&] { copied = copyDocumentContent(Required(Required(gManager).ADOCnn()), guid, file, path); });
        copied = copied && file.flush();
    }
    file.close();
    // The file before its folder: a folder is removed only once empty.
    WorkFiles::Made(path);
    WorkFiles::Made(folder);
    if (!copied) WorkFiles::Remove(path);
    return copied ? path : QString();
}

}  // namespace

DraggedDocument::DraggedDocument(const ReportListView& list, qint32 item)
    : guid_(list.ListItems().SubItem(item, DocumentList::GuidSubItem)),
      fileName_(
          fileNameOf(list.ListItems().Text(item), list.ListItems().SubItem(item, DocumentList::TypeDataSubItem))) {}

QStringList DraggedDocument::formats() const { return {UriList}; }

bool DraggedDocument::hasFormat(const QString& mimeType) const { return mimeType == UriList; }

QVariant DraggedDocument::retrieveData(const QString& mimeType, QMetaType /*type*/) const {
    if (mimeType != UriList) return {};
    const QString file = writtenFile();
    if (file.isEmpty()) return {};
    return QUrl::fromLocalFile(file).toEncoded() + "\r\n";
}

QString DraggedDocument::writtenFile() const {
    if (!written_) {
        written_ = QString();
        ContinueOnFailure([&] { written_ = writeContent(guid_, fileName_); });
    }
    return *written_;
}

void LetDocumentsBeDraggedOut(ReportListView& list) {
    if (!gManager || !gManager->dragAndDrop()) return;
    list.SetDragOut([&list](qint32 item) { return new DraggedDocument(list, item); });
}

}  // namespace dorvanel
