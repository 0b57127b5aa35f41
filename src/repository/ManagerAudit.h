#pragma once

#include <memory>

namespace dorvanel {

class Connection;

// Seals the entries a Manager's write made outside any transaction (links, deletions through the
// host's record objects); inside one on an attached connection, leaves them to its commit. One that cannot be sealed
// now stays pending for the next seal: the write itself is done, and its entry is in the record already.
void sealAfterWrite(const std::shared_ptr<Connection>& connection);

}  // namespace dorvanel
