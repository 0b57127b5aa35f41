#pragma once

#include <QString>

namespace dorvanel {

class HostControl;

// Gives a dialog's host control the component's file name (Nombre), folder (Ubicacion) and
// version (Version), each set by name. A refused property is raised.
void SetUpHostControl(HostControl& axKivra);

// The extension the host expects on the component's file name, whatever the platform's is.
QString ComponentExtension(const QString& folder, const QString& baseName);

}  // namespace dorvanel
