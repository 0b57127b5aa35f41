#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <memory>

namespace dorvanel {

class Connection;

/// The host's record class for one row of DocLink.
class DORVANEL_EXPORT LinkRecord {
public:
    virtual ~LinkRecord() = default;

    /// The connection the record writes through.
    virtual void SetADOCnn(std::shared_ptr<Connection> connection) = 0;
    /// Starts a new row, saved by Update.
    virtual void AddNew() = 0;
    /// The parent record's key.
    virtual void SetFK_Parent(const QString& value) = 0;
    /// The document's key (Sys_GUID).
    virtual void SetFK_Doc(const QString& value) = 0;
    /// The parent's type.
    virtual void SetTypeParent(const QString& value) = 0;
    /// Whether the link is the system's.
    virtual void SetSis(bool value) = 0;
    /// True when the row was saved.
    virtual bool Update() = 0;
};

}  // namespace dorvanel
