// The Manager's connection and user name: each attaches the record of changes, so that what
// the Manager writes is recorded under its userName and sealed as it commits.

#include "repository/ManagerAudit.h"

#include "component/Manager.h"
#include "component/Manager_p.h"
#include "platform/Database_p.h"
#include "repository/AuditLog.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

namespace {

// A connection that cannot be reached now is left unattached: its own failure shows at the
// first write, which is then not made.
void attach(const std::shared_ptr<Connection>& connection, const QString& userName) {
    if (connection) ContinueOnFailure([&] { attachAuditUser(*connection, userName); });
}

}  // namespace

// Inside a transaction the commit seals: sealing earlier would hold PostgreSQL's sealing lock
// for the rest of the transaction, while it may still wait for another writer's rows.
void sealAfterWrite(const std::shared_ptr<Connection>& connection) {
    if (!connection) return;
    const Database& database = databaseOf(*connection);
    if (database.openTransactions > 0 && database.beforeCommit) return;
    ContinueOnFailure([&] { sealAuditLog(*connection); });
}

void Manager::SetADOCnn(std::shared_ptr<Connection> Obj) {
    d_->connection = std::move(Obj);
    attach(d_->connection, d_->userName);
}

void Manager::setUserName(const QString& value) {
    d_->userName = value;
    attach(d_->connection, d_->userName);
}

}  // namespace dorvanel
