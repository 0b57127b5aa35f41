#include "repository/AuditSchema.h"

namespace dorvanel {

QStringList AuditSchema(Connection::Engine /*engine*/) { return {}; }

}  // namespace dorvanel
