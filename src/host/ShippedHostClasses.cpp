// The host classes the library ships fill the registry of host classes when the library is
// loaded, so that the component layer never needs to know them; a host may then replace any
// of them before it creates its Manager.

#include "component/HostClasses.h"
#include "host/DefaultDocRecord.h"
#include "host/DefaultHostControl.h"
#include "host/DefaultLinkRecord.h"
#include "host/DefaultOskel.h"

#include <QtGlobal>

namespace dorvanel {

namespace {

// Runs while the library loads, before any host code can use or replace the registry.
void registerShippedHostClasses() {
    HostClasses::registered() = HostClasses{
        .oskel = [] { return std::make_shared<DefaultOskel>(); },
        .docRecord = [] { return std::make_shared<DefaultDocRecord>(); },
        .linkRecord = [] { return std::make_shared<DefaultLinkRecord>(); },
        .hostControl = [] { return std::make_shared<DefaultHostControl>(); },
    };
}

}  // namespace

Q_CONSTRUCTOR_FUNCTION(registerShippedHostClasses)

}  // namespace dorvanel
