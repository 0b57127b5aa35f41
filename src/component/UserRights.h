#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <optional>

namespace dorvanel {

/// The host's user-rights object (UM).
class DORVANEL_EXPORT UserRights {
public:
    virtual ~UserRights() = default;
    /// Whether the current user holds the permission item; no answer (null) refuses like false.
    virtual std::optional<bool> CheckItem(const QString& item) = 0;
};

}  // namespace dorvanel
