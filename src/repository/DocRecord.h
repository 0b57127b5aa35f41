#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace dorvanel {

class Connection;

// The host's record class for one row of Docs. Update and Delete answer false and describe
// the failure in LastErr/LastErrDescrip instead of raising when the database refuses.
class DORVANEL_EXPORT DocRecord {
public:
    virtual ~DocRecord() = default;

    virtual void SetADOCnn(std::shared_ptr<Connection> connection) = 0;
    virtual void AddNew() = 0;
    // Loads the row whose Sys_GUID is sGuid; true when it was found.
    virtual bool LoadFromADOConnection(qint32 mode, const QString& sGuid, std::shared_ptr<Connection> connection,
                                       qint32 option = 0) = 0;

    virtual QString Name() const = 0;
    virtual void SetName(const QString& value) = 0;
    virtual QString Description() const = 0;
    virtual void SetDescription(const QString& value) = 0;
    virtual QString Words() const = 0;
    virtual void SetWords(const QString& value) = 0;
    virtual QString TypeData() const = 0;
    virtual void SetTypeData(const QString& value) = 0;
    virtual QString urlfile() const = 0;
    virtual void Seturlfile(const QString& value) = 0;
    virtual void Setstoreout(bool value) = 0;

    // Reading writes the content to a file and gives its name; an outside document gives
    // its location.
    virtual QString Data() = 0;
    // The bytes of these files become the row's content and miniature when it is saved.
    virtual void SetData(const QString& fileName) = 0;
    virtual void SetMiniData(const QString& fileName) = 0;

    virtual bool Update() = 0;
    virtual bool Delete() = 0;
    virtual QString Sys_GUID() const = 0;
    virtual qint32 LastErr() const = 0;
    virtual QString LastErrDescrip() const = 0;
    // What the engine or the system called the cause of the failure, where it named one.
    virtual QStringList lastErrCauses() const { return {}; }
};

}  // namespace dorvanel
