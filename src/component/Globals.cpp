#include "component/Globals.h"

#include "component/Manager.h"
#include "component/Oskel.h"

namespace dorvanel {

// Never destroyed: a Manager ending during the program's exit still finds both references.
std::shared_ptr<Manager>& gManager = *new std::shared_ptr<Manager>();
std::shared_ptr<Oskel>& gOskel = *new std::shared_ptr<Oskel>();

}  // namespace dorvanel
