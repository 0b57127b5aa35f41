#include "repository/VersionSchema.h"

namespace dorvanel {

QStringList VersionSchema(Connection::Engine /*engine*/) { return {}; }

}  // namespace dorvanel
