#include "dialogs/SetUpHostControl.h"

#include "component/HostControl.h"
#include "platform/ComponentFile.h"

namespace dorvanel {

QString ComponentExtension(const QString& /*folder*/, const QString& /*baseName*/) { return QStringLiteral(".dll"); }

void SetUpHostControl(HostControl& axKivra) {
    axKivra.SetProperty(QStringLiteral("Nombre"),
                        ComponentFile::baseName() +
                            ComponentExtension(ComponentFile::folder(), ComponentFile::baseName()));
    axKivra.SetProperty(QStringLiteral("Ubicacion"), ComponentFile::folder());
    axKivra.SetProperty(QStringLiteral("Version"), QStringLiteral("%1.%2.0.%3")
                                                       .arg(ComponentFile::versionMajor())
                                                       .arg(ComponentFile::versionMinor())
                                                       .arg(ComponentFile::versionRevision()));
}

}  // namespace dorvanel
