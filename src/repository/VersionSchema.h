#pragma once

#include "platform/Connection.h"

#include <QStringList>

namespace dorvanel {

// The statements that add the versions' tables and triggers to a database; each does nothing
// where its part exists. Made after the trash, whose table its triggers read.
QStringList VersionSchema(Connection::Engine engine);

}  // namespace dorvanel
