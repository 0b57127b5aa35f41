#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QVariant>

namespace dorvanel {

/// The host's form control that every dialog carries (axKivra); its properties are set by name.
class DORVANEL_EXPORT HostControl {
public:
    virtual ~HostControl() = default;
    /// Raises Error when the control refuses the property.
    virtual void SetProperty(const QString& name, const QVariant& value) = 0;
    /// The property's value.
    virtual QVariant Property(const QString& name) const = 0;
};

}  // namespace dorvanel
