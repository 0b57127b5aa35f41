#pragma once

#include "platform/Connection.h"

#include <QStringList>

namespace dorvanel {

// The statements that add the trash's tables to a database; each does nothing where its part
// exists.
QStringList TrashSchema(Connection::Engine engine);

}  // namespace dorvanel
