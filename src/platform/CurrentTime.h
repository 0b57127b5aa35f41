#pragma once

#include "platform/Connection.h"

#include <QString>

namespace dorvanel {

// The engine's SQL for this moment as the schema's time columns keep it: local time with its
// milliseconds (text on SQLite, a timestamp on PostgreSQL).
QString CurrentTimeSql(Connection::Engine engine);

}  // namespace dorvanel
