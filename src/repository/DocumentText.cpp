#include "repository/DocumentText.h"

namespace dorvanel {

void storeDocumentText(Connection&, const QString&, const QString&, const QString&) {}

QStringList documentsWithoutText(Connection&) { return {}; }

}  // namespace dorvanel
