#pragma once

#include "platform/Connection.h"

#include <QStringList>

namespace dorvanel {

// The statements that add the record of changes (its table and the triggers that fill it) to a
// database; each does nothing where its part exists. Made after the trash and the versions,
// whose tables its triggers read.
QStringList AuditSchema(Connection::Engine engine);

}  // namespace dorvanel
