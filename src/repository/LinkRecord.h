#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <memory>

namespace dorvanel {

class Connection;

// The host's record class for one row of DocLink.
class DORVANEL_EXPORT LinkRecord {
public:
    virtual ~LinkRecord() = default;

    virtual void SetADOCnn(std::shared_ptr<Connection> connection) = 0;
    virtual void AddNew() = 0;
    virtual void SetFK_Parent(const QString& value) = 0;
    virtual void SetFK_Doc(const QString& value) = 0;
    virtual void SetTypeParent(const QString& value) = 0;
    virtual void SetSis(bool value) = 0;
    // True when the row was saved.
    virtual bool Update() = 0;
};

}  // namespace dorvanel
