#include "component/HostClasses.h"
#include "component/Manager.h"
#include "repository/DocRecord.h"

namespace dorvanel {

QString Manager::GetDocumentFile(const QString& sGuid) {
    auto record = createDocRecord();
    record->LoadFromADOConnection(0, sGuid, connection_);
    return record->Data();
}

QString Manager::GetDocFileByName(const QString& /*sParent*/, const QString& /*sName*/) { return QString(); }

}  // namespace dorvanel
