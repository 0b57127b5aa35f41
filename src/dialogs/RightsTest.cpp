#include "dialogs/RightsTest.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "component/UserRights.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

bool HoldsRight(PermissionItem item) {
    const Manager& manager = Required(gManager);
    const std::shared_ptr<UserRights> rights = manager.UM();
    return !rights || rights->CheckItem((manager.*item)()).value_or(false);
}

bool RightsAllow(PermissionItem item, WhenCheckFails whenFailing) {
    bool allowed = whenFailing == WhenCheckFails::Allow;
    ContinueOnFailure([&] { allowed = HoldsRight(item); });
    return allowed;
}

}  // namespace dorvanel
