#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "repository/DocRecord.h"
#include "repository/FailureStyles.h"
#include "repository/ManagerAudit.h"

namespace dorvanel {

bool Manager::RemoveDocument(const QString& sGuid) {
    bool result = false;
    std::shared_ptr<DocRecord> record;
    ContinueOnFailure([&] { record = d_->hold(createDocRecord()); });
    ContinueOnFailure([&] { Required(record).LoadFromADOConnection(0, sGuid, d_->connection); });
    ContinueOnFailure([&] { result = Required(record).Delete(); });
    if (result) sealAfterWrite(d_->connection);
    if (!result)
        ContinueOnFailure([&] {
            d_->lastFailure.record(Required(record).LastErr(), record->LastErrDescrip(), record->lastErrCauses());
        });
    d_->releaseRecord();
    return result;
}

}  // namespace dorvanel
