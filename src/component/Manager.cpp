// The Manager's properties and lifecycle. Each document operation is defined in src/repository/
// in the file named for it: StoreDocument.cpp (with StoreDocumentAll), RemoveDocument.cpp,
// GetDocumentFile.cpp (with GetDocFileByName), OpenDocument.cpp, SaveAs.cpp, AddLink.cpp (with
// the parent-type lookup), DeleteLink.cpp, GetParentList.cpp and GetDocumentsList.cpp (with
// SearchDocuments). Each dialog method is defined in src/dialogs/ beside its dialog, in the file
// named for it: AddDocumentDlg.cpp in dlgAdd/, EditDocumentDlg.cpp in dlgEdit/, SelectDocDlg.cpp
// in dlgFind/, BrowseDlg.cpp in dlgBrowse/. What a Manager holds is in Manager_p.h.
#include "component/Manager.h"

#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Manager_p.h"
#include "component/Oskel.h"
#include "component/ProductTitle.h"
#include "component/WorkFiles.h"
#include "platform/Connection.h"
#include "platform/Error.h"

#include <QCoreApplication>

namespace dorvanel {

std::shared_ptr<Manager> Manager::create() {
    std::shared_ptr<Manager> manager(new Manager());
    // A Manager that lived only through gManager ends here, before the new references are
    // made, so that its end cannot empty them.
    std::shared_ptr<Manager>().swap(gManager);
    gOskel = createOskel();
    gOskel->SetProductTitle(ProductTitle);
    gManager = manager;
    return manager;
}

Manager::Manager() : d_(std::make_unique<Private>()) {}

Manager::~Manager() {
    // Moved out first: releasing them may end another Manager, whose end empties them again.
    auto endedManager = std::move(gManager);
    auto endedOskel = std::move(gOskel);
    gManager.reset();
    gOskel.reset();
    WorkFiles::RemoveMadeBy(this);
}

void Manager::SetOskel(std::shared_ptr<Oskel> cOskel, const QString& sHelpFile) {
    gOskel = std::move(cOskel);
    if (!gOskel)
        throw Error(Error::ObjectNotSet,
                    QCoreApplication::translate("dorvanel::Manager", "No se estableció el objeto de servicios"));
    gOskel->SetHelpFile(sHelpFile.isNull() ? QStringLiteral("") : sHelpFile);
}

std::shared_ptr<Connection> Manager::ADOCnn() const { return d_->connection; }
std::shared_ptr<UserRights> Manager::UM() const { return d_->rights; }
void Manager::SetUM(std::shared_ptr<UserRights> Obj) { d_->rights = std::move(Obj); }

QString Manager::CanAddDocument() const { return d_->canAddDocument; }
void Manager::SetCanAddDocument(const QString& value) { d_->canAddDocument = value; }
QString Manager::CanAddLink() const { return d_->canAddLink; }
void Manager::SetCanAddLink(const QString& value) { d_->canAddLink = value; }
QString Manager::CanEdit() const { return d_->canEdit; }
void Manager::SetCanEdit(const QString& value) { d_->canEdit = value; }
QString Manager::CanDeleteLink() const { return d_->canDeleteLink; }
void Manager::SetCanDeleteLink(const QString& value) { d_->canDeleteLink = value; }
QString Manager::CanDeleteDocument() const { return d_->canDeleteDocument; }
void Manager::SetCanDeleteDocument(const QString& value) { d_->canDeleteDocument = value; }

bool Manager::dragAndDrop() const { return d_->dragAndDrop; }
void Manager::setDragAndDrop(bool value) { d_->dragAndDrop = value; }
bool Manager::documentMiniatures() const { return d_->documentMiniatures; }
void Manager::setDocumentMiniatures(bool value) { d_->documentMiniatures = value; }
bool Manager::indexesContent() const { return d_->indexesContent; }
void Manager::setIndexesContent(bool value) { d_->indexesContent = value; }
qsizetype Manager::contentTextCap() const { return d_->contentTextCap; }
void Manager::setContentTextCap(qsizetype value) { d_->contentTextCap = value; }
QString Manager::userName() const { return d_->userName; }
bool Manager::usesTrash() const { return d_->usesTrash; }
void Manager::setUsesTrash(bool value) { d_->usesTrash = value; }

qint32 Manager::LastErr() const { return d_->lastFailure.number; }
void Manager::SetLastErr(qint32 value) {
    d_->lastFailure.number = value;
    d_->lastFailure.causes.clear();
}
QString Manager::LastErrDescrip() const { return d_->lastFailure.description; }
void Manager::SetLastErrDescrip(const QString& value) { d_->lastFailure.description = value; }
QStringList Manager::lastErrCauses() const { return d_->lastFailure.causes; }
void Manager::setLastErrCauses(const QStringList& value) { d_->lastFailure.causes = value; }

}  // namespace dorvanel
