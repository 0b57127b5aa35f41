#include "component/Manager.h"

#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Oskel.h"
#include "component/ProductTitle.h"
#include "component/WorkFiles.h"
#include "platform/Connection.h"
#include "platform/Error.h"

#include <QCoreApplication>

namespace dorvanel {

std::shared_ptr<Manager> Manager::Create() {
    std::shared_ptr<Manager> manager(new Manager());
    // A Manager that lived only through gManager ends here, before the new references are
    // made, so that its end cannot empty them.
    std::shared_ptr<Manager>().swap(gManager);
    gOskel = createOskel();
    gOskel->SetProductTitle(ProductTitle);
    gManager = manager;
    return manager;
}

Manager::~Manager() {
    // Moved out first: releasing them may end another Manager, whose end empties them again.
    auto endedManager = std::move(gManager);
    auto endedOskel = std::move(gOskel);
    gManager.reset();
    gOskel.reset();
    WorkFiles::RemoveMadeBy(this);
}

void Manager::SetOskel(std::shared_ptr<Oskel> cOskel, const QString& sHelpFile) {
    gOskel = std::move(cOskel);
    if (!gOskel)
        throw Error(Error::ObjectNotSet,
                    QCoreApplication::translate("dorvanel::Manager", "No se estableció el objeto de servicios"));
    gOskel->SetHelpFile(sHelpFile.isNull() ? QStringLiteral("") : sHelpFile);
}

void Manager::recordFailure(qint32 number, const QString& description, const QStringList& causes) {
    lastErr_ = number;
    lastErrDescrip_ = description;
    lastErrCauses_ = causes;
}

}  // namespace dorvanel
