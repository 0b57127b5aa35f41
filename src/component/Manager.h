#pragma once

#include <QString>
#include <memory>

namespace dorvanel {

class Connection;
class HostRecord;
class Oskel;
class UserRights;

// The component's one public class: the host gives it its connection, rights object and
// services object, and calls the document operations and dialogs through it.
class Manager : public std::enable_shared_from_this<Manager> {
public:
    // Creates the services object (gOskel) titled "Brenmoria 2014" and makes gManager refer
    // to the new Manager.
    static std::shared_ptr<Manager> Create();
    // Ending any Manager empties gManager and gOskel.
    ~Manager();
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    std::shared_ptr<Connection> ADOCnn() const { return connection_; }
    void SetADOCnn(std::shared_ptr<Connection> Obj) { connection_ = std::move(Obj); }
    std::shared_ptr<UserRights> UM() const { return rights_; }
    void SetUM(std::shared_ptr<UserRights> Obj) { rights_ = std::move(Obj); }
    // Replaces gOskel with the host's services object and gives it the help file.
    void SetOskel(std::shared_ptr<Oskel> cOskel, const QString& sHelpFile = QString());

    // Names of the permission items the dialogs ask the rights object about.
    QString CanAddDocument() const { return canAddDocument_; }
    void SetCanAddDocument(const QString& value) { canAddDocument_ = value; }
    QString CanAddLink() const { return canAddLink_; }
    void SetCanAddLink(const QString& value) { canAddLink_ = value; }
    QString CanEdit() const { return canEdit_; }
    void SetCanEdit(const QString& value) { canEdit_ = value; }
    QString CanDeleteLink() const { return canDeleteLink_; }
    void SetCanDeleteLink(const QString& value) { canDeleteLink_ = value; }
    QString CanDeleteDocument() const { return canDeleteDocument_; }
    void SetCanDeleteDocument(const QString& value) { canDeleteDocument_ = value; }

    // The most recent failure an operation recorded; no operation clears it.
    qint32 LastErr() const { return lastErr_; }
    void SetLastErr(qint32 value) { lastErr_ = value; }
    QString LastErrDescrip() const { return lastErrDescrip_; }
    void SetLastErrDescrip(const QString& value) { lastErrDescrip_ = value; }

private:
    Manager() = default;

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<UserRights> rights_;
    QString canAddDocument_;
    QString canAddLink_;
    QString canEdit_;
    QString canDeleteLink_;
    QString canDeleteDocument_;
    qint32 lastErr_ = 0;
    QString lastErrDescrip_;
    // The record object the current document or link operation works on.
    std::shared_ptr<HostRecord> record_;
};

}  // namespace dorvanel
