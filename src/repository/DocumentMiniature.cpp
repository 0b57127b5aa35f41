#include "repository/DocumentMiniature.h"

#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/ContentHolders.h"

#include <QCoreApplication>

namespace dorvanel {

namespace {

const QString HoldsContent = QStringLiteral("Data IS NOT NULL");
const QString LacksMiniature = QStringLiteral("(MiniData IS NULL OR length(MiniData) = 0)");

}  // namespace

void setDocumentMiniature(Connection& connection, const QString& guid, const QByteArray& bmp) {
    qint32 changed = 0;
    connection.Execute(QStringLiteral("UPDATE Docs SET MiniData = ? WHERE Sys_GUID = ? AND %1").arg(HoldsContent),
                       {bmp, guid}, &changed);
    if (changed == 0)
        throw Error(Error::NoCurrentRecord, QCoreApplication::translate("dorvanel::DocumentMiniature",
                                                                        "No existe un documento %1 con contenido")
                                                .arg(guid));
}

MiniatureCounts countMiniatures(Connection& connection) {
    const auto row =
        connection.Execute(QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN %1 THEN 1 ELSE 0 END) FROM Docs WHERE %2")
                               .arg(LacksMiniature, HoldsContent));
    const qint64 all = row->value(0).toLongLong();
    const qint64 without = row->value(1).toLongLong();
    return {all - without, without};
}

QStringList documentsWithoutMiniature(Connection& connection) {
    return documentsHoldingContent(connection, LacksMiniature);
}

}  // namespace dorvanel
