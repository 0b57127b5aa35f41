#pragma once

#include "component/HostClasses.h"

namespace dorvanel {

// The host classes the library ships: DefaultOskel, DefaultDocRecord and DefaultLinkRecord.
// They fill the registry when the library is loaded.
HostClasses ShippedHostClasses();

}  // namespace dorvanel
