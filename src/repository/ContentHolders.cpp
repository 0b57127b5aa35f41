#include "repository/ContentHolders.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

namespace dorvanel {

QStringList documentsHoldingContent(Connection& connection, const QString& condition) {
    QString sql = QStringLiteral("SELECT Sys_GUID FROM Docs d WHERE Data IS NOT NULL");
    if (!condition.isEmpty()) sql += QStringLiteral(" AND ") + condition;
    QStringList guids;
    for (auto rows = connection.Execute(sql + QStringLiteral(" ORDER BY Sys_PK")); !rows->Eof(); rows->MoveNext())
        guids << rows->value(0).toString();
    return guids;
}

}  // namespace dorvanel
