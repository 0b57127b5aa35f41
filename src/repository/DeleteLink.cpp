#include "component/Manager.h"
#include "component/Manager_p.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/FailureStyles.h"
#include "repository/SqlTexts.h"

namespace dorvanel {

namespace {

QList<RemovedLink> linksOf(Connection& connection, const QString& parent, const QString& guid) {
    QList<RemovedLink> links;
    const auto rows =
        connection.Execute(QStringLiteral("SELECT TypeParent, Sis FROM DocLink WHERE FK_Parent = ? AND FK_Doc = ?"),
                           {parent, guid});
    for (; !rows->Eof(); rows->MoveNext())
        links.append({parent, rows->value(0).toString(), rows->value(1).toInt() != 0});
    return links;
}

}  // namespace

bool Manager::DeleteLink(const QString& Parent, const QString& sGuid) {
    Connection& connection = Required(d_->connection);
    const QList<RemovedLink> links = d_->usesTrash ? linksOf(connection, Parent, sGuid) : QList<RemovedLink>{};
    qint32 deleted = 0;
    connection.Execute(SqlTexts::deleteLink(Parent, sGuid), &deleted);
    if (deleted > 0 && d_->usesTrash) {
        d_->unlinkedDocument = sGuid;
        d_->unlinked = links;
    }
    return deleted > 0;
}

}  // namespace dorvanel
