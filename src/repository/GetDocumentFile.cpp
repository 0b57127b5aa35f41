#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "repository/DocRecord.h"

namespace dorvanel {

QString Manager::GetDocumentFile(const QString& sGuid) {
    auto record = d_->hold(createDocRecord());
    record->LoadFromADOConnection(0, sGuid, d_->connection);
    const QString file = record->Data();
    d_->releaseRecord();
    return file;
}

QString Manager::GetDocFileByName(const QString& /*sParent*/, const QString& /*sName*/) { return QString(); }

}  // namespace dorvanel
