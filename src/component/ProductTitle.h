#pragma once

#include <QString>

namespace dorvanel {

// The product title the services object is given, and the title of every style-64 message box.
inline const QString ProductTitle = QStringLiteral("Brenmoria 2014");

}  // namespace dorvanel
