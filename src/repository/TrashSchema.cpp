#include "repository/TrashSchema.h"

namespace dorvanel {

QStringList TrashSchema(Connection::Engine /*engine*/) { return {}; }

}  // namespace dorvanel
