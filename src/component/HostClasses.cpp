#include "component/HostClasses.h"

#include "host/DefaultDocRecord.h"
#include "host/DefaultLinkRecord.h"
#include "host/DefaultOskel.h"
#include "platform/Error.h"

namespace dorvanel {

namespace {

template <typename Made>
std::shared_ptr<Made> create(const std::function<std::shared_ptr<Made>()>& factory, const char* className) {
    std::shared_ptr<Made> made = factory ? factory() : nullptr;
    if (!made)
        throw Error(Error::CannotCreateObject,
                    QStringLiteral("No se puede crear el objeto %1").arg(QLatin1String(className)));
    return made;
}

}  // namespace

HostClasses HostClasses::Defaults() {
    return HostClasses{
        .oskel = [] { return std::make_shared<DefaultOskel>(); },
        .docRecord = [] { return std::make_shared<DefaultDocRecord>(); },
        .linkRecord = [] { return std::make_shared<DefaultLinkRecord>(); },
    };
}

HostClasses& HostClasses::Registered() {
    static HostClasses registered = Defaults();
    return registered;
}

std::shared_ptr<Oskel> CreateOskel() { return create(HostClasses::Registered().oskel, "Oskel"); }

std::shared_ptr<DocRecord> CreateDocRecord() { return create(HostClasses::Registered().docRecord, "DocRecord"); }

std::shared_ptr<LinkRecord> CreateLinkRecord() { return create(HostClasses::Registered().linkRecord, "LinkRecord"); }

}  // namespace dorvanel
