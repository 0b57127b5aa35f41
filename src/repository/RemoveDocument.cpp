#include "component/HostClasses.h"
#include "component/Manager.h"
#include "repository/DocRecord.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

bool Manager::RemoveDocument(const QString& sGuid) {
    bool result = false;
    std::shared_ptr<DocRecord> record;
    ContinueOnFailure([&] { record = hold(createDocRecord()); });
    ContinueOnFailure([&] { Required(record).LoadFromADOConnection(0, sGuid, connection_); });
    ContinueOnFailure([&] { result = Required(record).Delete(); });
    if (!result)
        ContinueOnFailure(
            [&] { recordFailure(Required(record).LastErr(), record->LastErrDescrip(), record->lastErrCauses()); });
    releaseRecord();
    return result;
}

}  // namespace dorvanel
