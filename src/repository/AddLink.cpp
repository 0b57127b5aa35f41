#include "component/HostClasses.h"
#include "component/Keys.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/FailureStyles.h"
#include "repository/LinkRecord.h"
#include "repository/ManagerAudit.h"
#include "repository/SqlTexts.h"

#include <QCoreApplication>

namespace dorvanel {

bool Manager::AddLink(const QString& Parent, const QString& sGuid, const QString& ParentType, bool Sis) {
    bool result = false;
    std::shared_ptr<LinkRecord> record;
    ContinueOnFailure([&] { record = d_->hold(createLinkRecord()); });
    if (!hasKeyLength(Parent) || !hasKeyLength(sGuid)) return false;
    ContinueOnFailure([&] {
        Required(record).SetADOCnn(d_->connection);
        record->AddNew();
        record->SetFK_Parent(Parent);
        record->SetFK_Doc(sGuid);
    });
    QString type = ParentType;
    if (type.isEmpty()) ContinueOnFailure([&] { type = LookupParentType(Parent); });
    if (type.isEmpty()) {
        d_->lastFailure.record(Error::NoParentType,
                               QCoreApplication::translate("dorvanel::AddLink", "No existe ParentType"));
        return false;
    }
    ContinueOnFailure([&] {
        Required(record).SetTypeParent(type);
        record->SetSis(Sis);
        result = record->Update();
    });
    if (result) sealAfterWrite(d_->connection);
    d_->releaseRecord();
    return result;
}

QString Manager::LookupParentType(const QString& Parent) {
    auto rows = Required(d_->connection).Execute(SqlTexts::typeOfParent(Parent));
    return rows ? rows->value(QStringLiteral("TypeParent")).toString() : QString();
}

}  // namespace dorvanel
