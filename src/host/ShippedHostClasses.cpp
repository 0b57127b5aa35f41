#include "host/ShippedHostClasses.h"

#include "host/DefaultDocRecord.h"
#include "host/DefaultLinkRecord.h"
#include "host/DefaultOskel.h"

#include <QtGlobal>

namespace dorvanel {

HostClasses ShippedHostClasses() {
    return HostClasses{
        .oskel = [] { return std::make_shared<DefaultOskel>(); },
        .docRecord = [] { return std::make_shared<DefaultDocRecord>(); },
        .linkRecord = [] { return std::make_shared<DefaultLinkRecord>(); },
    };
}

namespace {

// Runs while the library loads, before any host code can use or replace the registry.
void registerShippedHostClasses() { HostClasses::Registered() = ShippedHostClasses(); }

}  // namespace

Q_CONSTRUCTOR_FUNCTION(registerShippedHostClasses)

}  // namespace dorvanel
