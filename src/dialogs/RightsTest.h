#pragma once

#include <QString>

namespace dorvanel {

class Manager;

// A Manager property that names a permission item: &Manager::CanEdit, &Manager::CanAddLink...
using PermissionItem = QString (Manager::*)() const;

// Whether the user may do what the item names: yes when gManager has no rights object (UM),
// otherwise what its CheckItem answers, a null answer refusing. A failing call is raised.
bool HoldsRight(PermissionItem item);

// What a dialog does when the rights object cannot be asked.
enum class WhenCheckFails { Allow, Refuse };

// HoldsRight, with a failing call answered as the dialog decides.
bool RightsAllow(PermissionItem item, WhenCheckFails whenFailing);

}  // namespace dorvanel
