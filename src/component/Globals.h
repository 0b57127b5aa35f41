#pragma once

#include "dorvanel_export.h"

#include <memory>

namespace dorvanel {

class Manager;
class Oskel;

/// The live Manager and the services object, for the dialogs and the shared procedures.
/// gManager owns a reference: a Manager lives while it refers to it.
///@{
DORVANEL_EXPORT extern std::shared_ptr<Manager>& gManager;
DORVANEL_EXPORT extern std::shared_ptr<Oskel>& gOskel;
///@}

}  // namespace dorvanel
