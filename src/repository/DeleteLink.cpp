#include "component/Manager.h"
#include "component/Manager_p.h"
#include "platform/Connection.h"
#include "repository/FailureStyles.h"
#include "repository/ManagerAudit.h"
#include "repository/SqlTexts.h"

namespace dorvanel {

bool Manager::DeleteLink(const QString& Parent, const QString& sGuid) {
    qint32 deleted = 0;
    Required(d_->connection).Execute(SqlTexts::deleteLink(Parent, sGuid), &deleted);
    if (deleted > 0) sealAfterWrite(d_->connection);
    return deleted > 0;
}

}  // namespace dorvanel
