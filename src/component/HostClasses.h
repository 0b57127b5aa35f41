#pragma once

#include "dorvanel_export.h"

#include <functional>
#include <memory>

namespace dorvanel {

class Oskel;
class DocRecord;
class LinkRecord;
class HostControl;

/// Factories for the host classes the component creates with no arguments. The library fills
/// them with its shipped classes when it is loaded; a host replaces any of them before it
/// creates its Manager.
struct DORVANEL_EXPORT HostClasses {
    /// Makes the services object (gOskel) of a new Manager.
    std::function<std::shared_ptr<Oskel>()> oskel;
    /// Makes the record object of a row of Docs.
    std::function<std::shared_ptr<DocRecord>()> docRecord;
    /// Makes the record object of a row of DocLink.
    std::function<std::shared_ptr<LinkRecord>()> linkRecord;
    /// The host form control every dialog carries; a dialog places it among its controls when it
    /// is a widget.
    std::function<std::shared_ptr<HostControl>()> hostControl;

    /// The factories the component uses, for a host to read or replace.
    static HostClasses& registered();
};

/// Each raises Error 429 when its factory is missing or gives nothing.
///@{
DORVANEL_EXPORT std::shared_ptr<Oskel> createOskel();
DORVANEL_EXPORT std::shared_ptr<DocRecord> createDocRecord();
DORVANEL_EXPORT std::shared_ptr<LinkRecord> createLinkRecord();
DORVANEL_EXPORT std::shared_ptr<HostControl> createHostControl();
///@}

}  // namespace dorvanel
