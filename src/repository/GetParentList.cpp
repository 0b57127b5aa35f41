#include "component/Keys.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/FailureStyles.h"
#include "repository/SqlTexts.h"

#include <QStringList>

namespace dorvanel {

QVariant Manager::GetParentList(const QString& sGuid, const QString& /*ParentTypes: no filter is defined*/) {
    QVariant result = QStringLiteral("");
    if (!hasKeyLength(sGuid)) return result;
    std::shared_ptr<Recordset> rows;
    ContinueOnFailure([&] { rows = Required(d_->connection).Execute(SqlTexts::parentsOfDocument(sGuid)); });
    bool noRows = true;
    ContinueOnFailure([&] { noRows = !rows || (rows->BOF() && rows->Eof()); });
    if (noRows) return result;
    QString keys;
    ContinueOnFailure([&] {
        for (; !rows->Eof(); rows->MoveNext())
            keys += rows->value(QStringLiteral("Fk_Parent")).toString() + QLatin1Char(';');
    });
    // The text ends with ";", so the list ends with one empty string.
    result = keys.split(QLatin1Char(';'));
    return result;
}

}  // namespace dorvanel
