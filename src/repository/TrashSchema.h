#pragma once

#include "platform/Connection.h"

#include <QStringList>

namespace dorvanel {

// The statements that add the trash's tables to a database, each doing nothing where its part
// exists, and renew the triggers that forget a document's text so that one in the trash keeps it
// (DocumentTextKeepingTrashed): run after the rest of the schema, every time.
QStringList TrashSchema(Connection::Engine engine);

}  // namespace dorvanel
