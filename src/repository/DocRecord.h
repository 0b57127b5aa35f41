#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace dorvanel {

class Connection;

/// The host's record class for one row of Docs. Update and Delete answer false and describe
/// the failure in LastErr/LastErrDescrip instead of raising when the database refuses.
class DORVANEL_EXPORT DocRecord {
public:
    virtual ~DocRecord() = default;

    /// The connection the record reads and writes through.
    virtual void SetADOCnn(std::shared_ptr<Connection> connection) = 0;
    /// Starts a new row, saved by Update.
    virtual void AddNew() = 0;
    /// Loads the row whose Sys_GUID is sGuid; true when it was found.
    virtual bool LoadFromADOConnection(qint32 mode, const QString& sGuid, std::shared_ptr<Connection> connection,
                                       qint32 option = 0) = 0;

    /// The document's name.
    ///@{
    virtual QString Name() const = 0;
    virtual void SetName(const QString& value) = 0;
    ///@}
    /// The document's description.
    ///@{
    virtual QString Description() const = 0;
    virtual void SetDescription(const QString& value) = 0;
    ///@}
    /// The document's keywords.
    ///@{
    virtual QString Words() const = 0;
    virtual void SetWords(const QString& value) = 0;
    ///@}
    /// The document's type code.
    ///@{
    virtual QString TypeData() const = 0;
    virtual void SetTypeData(const QString& value) = 0;
    ///@}
    /// The location of an outside document (a URL or a path).
    ///@{
    virtual QString urlfile() const = 0;
    virtual void Seturlfile(const QString& value) = 0;
    ///@}
    /// Whether the document is an outside one, whose content is not stored.
    virtual void Setstoreout(bool value) = 0;

    /// Reading writes the content to a file and gives its name; an outside document gives
    /// its location.
    virtual QString Data() = 0;
    /// The bytes of these files become the row's content and miniature when it is saved.
    ///@{
    virtual void SetData(const QString& fileName) = 0;
    virtual void SetMiniData(const QString& fileName) = 0;
    ///@}

    /// Saves the row; false when the database refused (see LastErr).
    virtual bool Update() = 0;
    /// Deletes the row; false when the database refused (see LastErr).
    virtual bool Delete() = 0;
    /// The row's key.
    virtual QString Sys_GUID() const = 0;
    /// The number and text of the failure Update or Delete met.
    ///@{
    virtual qint32 LastErr() const = 0;
    virtual QString LastErrDescrip() const = 0;
    ///@}
    /// What the engine or the system called the cause of the failure, where it named one.
    virtual QStringList lastErrCauses() const { return {}; }
};

}  // namespace dorvanel
