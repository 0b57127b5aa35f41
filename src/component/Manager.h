#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

/// Everything the library gives a host.
namespace dorvanel {

class Connection;
class DocumentList;
class Oskel;
class UserRights;

/// The component's one public class: the host gives it its connection, rights object and
/// services object, and calls the document operations and dialogs through it.
class DORVANEL_EXPORT Manager : public std::enable_shared_from_this<Manager> {
public:
    /// Creates the services object (gOskel) titled "Brenmoria 2014" and makes gManager refer
    /// to the new Manager.
    static std::shared_ptr<Manager> create();
    /// Ending any Manager empties gManager and gOskel, and removes the work files made while it was
    /// the live one.
    ~Manager();
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    /// The host's database connection, which every operation and dialog works on.
    ///@{
    std::shared_ptr<Connection> ADOCnn() const;
    void SetADOCnn(std::shared_ptr<Connection> Obj);
    ///@}
    /// The host's user-rights object, which the dialogs ask about the permission items below.
    ///@{
    std::shared_ptr<UserRights> UM() const;
    void SetUM(std::shared_ptr<UserRights> Obj);
    ///@}
    /// Replaces gOskel with the host's services object and gives it the help file.
    void SetOskel(std::shared_ptr<Oskel> cOskel, const QString& sHelpFile = QString());

    /// Names of the permission items the dialogs ask the rights object about.
    ///@{
    QString CanAddDocument() const;
    void SetCanAddDocument(const QString& value);
    QString CanAddLink() const;
    void SetCanAddLink(const QString& value);
    QString CanEdit() const;
    void SetCanEdit(const QString& value);
    QString CanDeleteLink() const;
    void SetCanDeleteLink(const QString& value);
    QString CanDeleteDocument() const;
    void SetCanDeleteDocument(const QString& value);
    ///@}

    /// Whether the browse dialog's list takes files dropped on it (each opens the add dialog) and
    /// the browse and find lists let a document be dragged out as a copy of its content. Off
    /// unless the host turns it on.
    ///@{
    bool dragAndDrop() const;
    void setDragAndDrop(bool value);
    ///@}

    /// Whether the add dialog gives every file it stores the miniature the extraction program
    /// makes of it (the first page of a PDF, an office document's own thumbnail, a picture turned
    /// as its EXIF orientation says), rather than a miniature of the nine picture types only. A
    /// file the program cannot read is stored without one. Off unless the host turns it on.
    ///@{
    bool documentMiniatures() const;
    void setDocumentMiniatures(bool value);
    ///@}
    /// Whether StoreDocument and StoreDocumentAll (and so the add dialog) read the text inside
    /// the file they store, in the extraction program, and put it in the word index once the
    /// document is saved. The store never fails for it: a document whose text cannot be read is
    /// stored all the same, the reason recorded with its (empty) text. Off unless the host turns
    /// it on.
    ///@{
    bool indexesContent() const;
    void setIndexesContent(bool value);
    ///@}
    /// How many characters of a stored file's text go into the word index while indexesContent
    /// is on: the rest is not read. 1,000,000 unless the host sets another.
    ///@{
    qsizetype contentTextCap() const;
    void setContentTextCap(qsizetype value);
    ///@}

    /// The name under which the changes this Manager makes are recorded: in the record of changes,
    /// the versions of a document's content and the trash. The system user's login name unless
    /// the host gives another (the name its user signed in with, say).
    ///@{
    QString userName() const;
    void setUserName(const QString& value);
    ///@}
    /// Whether RemoveDocument, and so the browse dialog's unlink of a document's last link, moves
    /// the document and its links to the trash, from which they can be restored, rather than
    /// deleting it for good. Off unless the host turns it on, so that deleting stays as documented.
    ///@{
    bool usesTrash() const;
    void setUsesTrash(bool value);
    ///@}

    /// The most recent failure an operation recorded; no operation clears it.
    qint32 LastErr() const;
    /// Also forgets the causes of the failure before.
    void SetLastErr(qint32 value);
    /// The description of the most recent failure an operation recorded, beside LastErr.
    ///@{
    QString LastErrDescrip() const;
    void SetLastErrDescrip(const QString& value);
    ///@}
    /// What the engine or the system called the cause of the most recent failure an operation
    /// met, whether it recorded it in LastErr or showed it in a message box: {"SQLITE_FULL",
    /// "ENOSPC"}, {"SQLSTATE 08006"}; empty when neither named one.
    ///@{
    QStringList lastErrCauses() const;
    void setLastErrCauses(const QStringList& value);
    ///@}

    /// Stores a file (its content and miniature) or, with IsURL, an outside location as a new
    /// document and returns its Sys_GUID; a failure is shown in a message box and gives "".
    QString StoreDocument(const QString& sName, const QString& sDescription, const QString& sKeywords,
                          const QString& sMiniFile, const QString& sFile, bool IsURL = false);
    /// The same with the type code given instead of taken from the file's extension.
    QString StoreDocumentAll(const QString& sName, const QString& sDescription, const QString& sKeywords,
                             const QString& sMiniFile, const QString& sFile, const QString& stype, bool IsURL = false);

    /// Deletes the document's row (not its links); a refusal is recorded in LastErr.
    bool RemoveDocument(const QString& sGuid);
    /// The document's content written to a file, as that file's name.
    QString GetDocumentFile(const QString& sGuid);
    /// Looks nothing up: always "".
    QString GetDocFileByName(const QString& sParent, const QString& sName);
    /// Opens a picture with the desktop's handler and offers anything else (or, with saveAs, a
    /// picture too) on the download page. A failure is recorded in LastErr.
    void OpenDocument(qint32 Sys_PK, const QString& TFile, bool saveAs = false);
    /// Writes a download page that links to sF and shows it.
    void SaveAs(const QString& sF);

    /// Links the document to a parent record; a missing ParentType is taken from the
    /// parent's other links.
    bool AddLink(const QString& Parent, const QString& sGuid, const QString& ParentType = QString(), bool Sis = true);
    /// Removes the document's link to the parent record; true when there was one.
    bool DeleteLink(const QString& Parent, const QString& sGuid);
    /// "" or the parent keys followed by one empty string.
    QVariant GetParentList(const QString& sGuid, const QString& ParentTypes = QString());

    /// Produce no list: always a null reference.
    ///@{
    std::shared_ptr<DocumentList> GetDocumentsList(const QString& sParents, const QString& sTypes = QString(),
                                                   bool NoMiniature = false);
    std::shared_ptr<DocumentList> SearchDocuments(const QString& Words, const QString& sParents = QString(),
                                                  const QString& sTypes = QString(), bool NoMiniature = false);
    ///@}

    /// Shows the add dialog for a new file or URL and links what it stores to every parent in
    /// sParent (keys separated by ","), each with ParentType; sFile starts in the file box. True
    /// when the document was stored and linked to every parent. A failure while the dialog
    /// loads is raised, and no window appears.
    bool AddDocumentDlg(const QString& sParent, const QString& ParentType = QString(),
                        const QString& sFile = QString());
    /// Shows the edit dialog for the document's description and keywords; true when the user
    /// saved them. A key of another length gives false without a window; a failure while the
    /// dialog or the record loads is raised, and no window appears.
    bool EditDocumentDlg(const QString& sGuid);
    /// Shows the find dialog on the documents of sParents (keys separated by ","), or on every
    /// document, of type sTypes when one is given, and returns the Sys_GUID of the document the
    /// user picked, or "" on Cancel. Words has no effect. With NoMiniature false, clicking a
    /// document shows its miniature.
    QString SelectDocDlg(const QString& sParents = QString(), const QString& Words = QString(),
                         const QString& sTypes = QString(), bool NoMiniature = true, bool NoSys = false);
    /// Shows the browse dialog on the documents linked to sParents, captioned with Info; the
    /// user opens, downloads, adds, edits and unlinks them there. TParent is the parent type of
    /// the documents added. Always false.
    bool BrowseDlg(const QString& sParents, const QString& Info, const QString& TParent);

private:
    Manager();

    QString storeNewDocument(const QString& sName, const QString& sDescription, const QString& sKeywords,
                             const QString& sMiniFile, const QString& sFile, bool isUrl,
                             const std::function<QString()>& typeData);
    QString LookupParentType(const QString& Parent);
    void indexContent(const QString& guid, const QString& sFile, const QString& typeData);

    struct Private;
    const std::unique_ptr<Private> d_;
};

}  // namespace dorvanel
