#include "component/HostClasses.h"

#include "platform/Error.h"

#include <QCoreApplication>

namespace dorvanel {

namespace {

template <typename Made>
std::shared_ptr<Made> create(const std::function<std::shared_ptr<Made>()>& factory, const char* className) {
    std::shared_ptr<Made> made = factory ? factory() : nullptr;
    if (!made)
        throw Error(Error::CannotCreateObject,
                    QCoreApplication::translate("dorvanel::HostClasses", "No se puede crear el objeto %1")
                        .arg(QLatin1String(className)));
    return made;
}

}  // namespace

HostClasses& HostClasses::registered() {
    static HostClasses registered;
    return registered;
}

std::shared_ptr<Oskel> createOskel() { return create(HostClasses::registered().oskel, "Oskel"); }

std::shared_ptr<DocRecord> createDocRecord() { return create(HostClasses::registered().docRecord, "DocRecord"); }

std::shared_ptr<LinkRecord> createLinkRecord() { return create(HostClasses::registered().linkRecord, "LinkRecord"); }

std::shared_ptr<HostControl> createHostControl() { return create(HostClasses::registered().hostControl, "axKivra"); }

}  // namespace dorvanel
