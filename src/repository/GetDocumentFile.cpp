#include "component/HostClasses.h"
#include "component/Manager.h"
#include "repository/DocRecord.h"

namespace dorvanel {

QString Manager::GetDocumentFile(const QString& sGuid) {
    auto record = hold(createDocRecord());
    record->LoadFromADOConnection(0, sGuid, connection_);
    const QString file = record->Data();
    releaseRecord();
    return file;
}

QString Manager::GetDocFileByName(const QString& /*sParent*/, const QString& /*sName*/) { return QString(); }

}  // namespace dorvanel
