#include "repository/Trash.h"

#include "platform/BlobStreaming.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/IsoTimes.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>

namespace dorvanel {

namespace {

// Every column of Docs, which DocsTrash has too, under the same names, but the two BLOBs: these
// are copied apart, a chunk at a time, never held whole.
const QString RowColumns = QStringLiteral(
    "Sys_PK, Sys_GUID, Sys_DTCreated, Sys_TimeStamp, Name, Description, Works, TypeData, storeout, urlfile");
const QString BlobColumns[] = {QStringLiteral("Data"), QStringLiteral("MiniData")};
const QString LinkColumns = QStringLiteral("FK_Parent, FK_Doc, TypeParent, Sis");

qint32 countOf(Connection& connection, const QString& sql, const QString& guid) {
    return connection.Execute(sql, {guid})->value(0).toInt();
}

bool inDocs(Connection& connection, const QString& guid) {
    return countOf(connection, QStringLiteral("SELECT count(*) FROM Docs WHERE Sys_GUID = ?"), guid) > 0;
}

bool inTrash(Connection& connection, const QString& guid) {
    return countOf(connection, QStringLiteral("SELECT count(*) FROM DocsTrash WHERE Sys_GUID = ?"), guid) > 0;
}

void copyBlobs(Connection& connection, const QString& from, const QString& to, const QString& guid) {
    const QString key = QStringLiteral("Sys_GUID");
    for (const QString& column : BlobColumns)
        BlobStreaming::copyValue(connection, from, column, key, guid, to, column, key, guid);
}

void copyRowToTrash(Connection& connection, const QString& guid, const QString& who) {
    connection.Execute(QStringLiteral("INSERT INTO DocsTrash (%1, RemovedAt, RemovedBy, Size, Sha256) "
                                      "SELECT d.%2, ?, ?, coalesce(g.Size, length(d.Data), 0), g.Sha256 "
                                      "FROM Docs d LEFT JOIN DocDigests g ON g.Sys_GUID = d.Sys_GUID "
                                      "WHERE d.Sys_GUID = ?")
                           .arg(RowColumns, QString(RowColumns).replace(QStringLiteral(", "), QStringLiteral(", d."))),
                       {IsoTimes::now(), who, guid});
    copyBlobs(connection, QStringLiteral("Docs"), QStringLiteral("DocsTrash"), guid);
}

void keepLinks(Connection& connection, const QString& guid, const QList<TrashedLink>& also) {
    connection.Execute(
        QStringLiteral("INSERT INTO DocLinkTrash (%1) SELECT %1 FROM DocLink WHERE FK_Doc = ?").arg(LinkColumns),
        {guid});
    for (const TrashedLink& link : also)
        connection.Execute(QStringLiteral("INSERT INTO DocLinkTrash (%1) VALUES (?, ?, ?, ?)").arg(LinkColumns),
                           {link.parent, guid, link.parentType, link.sis ? 1 : 0});
}

void restoreRow(Connection& connection, const QString& guid) {
    connection.Execute(
        QStringLiteral("INSERT INTO Docs (%1) SELECT %1 FROM DocsTrash WHERE Sys_GUID = ?").arg(RowColumns), {guid});
    copyBlobs(connection, QStringLiteral("DocsTrash"), QStringLiteral("Docs"), guid);
    connection.Execute(QStringLiteral("INSERT INTO DocDigests (Sys_GUID, Size, Sha256) SELECT Sys_GUID, Size, Sha256 "
                                      "FROM DocsTrash WHERE Sys_GUID = ? AND Sha256 IS NOT NULL"),
                       {guid});
}

// The condition on DocsTrash rows removed more than that many days ago, as each engine reads
// an ISO 8601 time with its offset.
QString removedBefore(Connection& connection) {
    return connection.engine() == Connection::Engine::Sqlite
               ? QStringLiteral("julianday(RemovedAt) < julianday('now') - ?")
               : QStringLiteral("RemovedAt::timestamptz < now() - make_interval(days => ?)");
}

QHash<QString, QList<TrashedLink>> trashedLinks(Connection& connection) {
    QHash<QString, QList<TrashedLink>> links;
    const auto rows = connection.Execute(
        QStringLiteral("SELECT FK_Doc, FK_Parent, TypeParent, Sis FROM DocLinkTrash ORDER BY FK_Doc, FK_Parent"));
    for (; !rows->Eof(); rows->MoveNext())
        links[rows->value(0).toString()].append(
            {rows->value(1).toString(), rows->value(2).toString(), rows->value(3).toInt() != 0});
    return links;
}

}  // namespace

bool keepsTrash(Connection& connection) {
    return connection.hasTable(QStringLiteral("DocsTrash")) && connection.hasTable(QStringLiteral("DocLinkTrash"));
}

void moveDocumentToTrash(Connection& connection, const QString& guid, const QString& who,
                         const QList<TrashedLink>& also) {
    Connection::Transaction transaction(connection);
    if (!inDocs(connection, guid))
        throw Error(
            Error::NoCurrentRecord,
            QCoreApplication::translate("dorvanel::Trash", "No hay ningún documento con la clave %1").arg(guid));
    if (inTrash(connection, guid))
        throw Error(Error::InvalidArgument,
                    QCoreApplication::translate("dorvanel::Trash", "La papelera ya tiene un documento con la clave %1")
                        .arg(guid));
    copyRowToTrash(connection, guid, who);
    keepLinks(connection, guid, also);
    connection.Execute(QStringLiteral("DELETE FROM DocLink WHERE FK_Doc = ?"), {guid});
    connection.Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {guid});
    transaction.commit();
}

QList<TrashedDocument> trashedDocuments(Connection& connection) {
    Connection::Transaction transaction(connection, Connection::Access::ReadOnly);
    QHash<QString, QList<TrashedLink>> links = trashedLinks(connection);
    QList<TrashedDocument> documents;
    const auto rows = connection.Execute(
        QStringLiteral("SELECT Sys_GUID, Name, TypeData, Size, RemovedAt, RemovedBy FROM DocsTrash"));
    for (; !rows->Eof(); rows->MoveNext()) {
        const QString guid = rows->value(0).toString();
        documents.append({guid, rows->value(1).toString(), rows->value(2).toString(), rows->value(3).toLongLong(),
                          QDateTime::fromString(rows->value(4).toString(), Qt::ISODateWithMs),
                          rows->value(5).toString(), links.take(guid)});
    }
    std::stable_sort(documents.begin(), documents.end(),
                     [](const TrashedDocument& a, const TrashedDocument& b) { return a.removedAt > b.removedAt; });
    return documents;
}

void restoreFromTrash(Connection& connection, const QString& guid) {
    Connection::Transaction transaction(connection);
    if (!inTrash(connection, guid))
        throw Error(Error::NoCurrentRecord,
                    QCoreApplication::translate("dorvanel::Trash",
                                                "La papelera no tiene ningún documento con la clave %1")
                        .arg(guid));
    if (inDocs(connection, guid))
        throw Error(Error::InvalidArgument,
                    QCoreApplication::translate(
                        "dorvanel::Trash", "Ya hay un documento con la clave %1: no se puede restaurar encima de él")
                        .arg(guid));
    restoreRow(connection, guid);
    connection.Execute(
        QStringLiteral("INSERT INTO DocLink (%1) SELECT %1 FROM DocLinkTrash WHERE FK_Doc = ?").arg(LinkColumns),
        {guid});
    connection.Execute(QStringLiteral("DELETE FROM DocLinkTrash WHERE FK_Doc = ?"), {guid});
    connection.Execute(QStringLiteral("DELETE FROM DocsTrash WHERE Sys_GUID = ?"), {guid});
    transaction.commit();
}

qint32 purgeTrash(Connection& connection, std::optional<int> olderThanDays) {
    Connection::Transaction transaction(connection);
    const QString condition = olderThanDays ? removedBefore(connection) : QStringLiteral("1 = 1");
    const QVariantList values = olderThanDays ? QVariantList{*olderThanDays} : QVariantList{};
    connection.Execute(QStringLiteral(
                           "DELETE FROM DocLinkTrash WHERE FK_Doc IN (SELECT Sys_GUID FROM DocsTrash WHERE %1)")
                           .arg(condition),
                       values);
    qint32 purged = 0;
    connection.Execute(QStringLiteral("DELETE FROM DocsTrash WHERE %1").arg(condition), values, &purged);
    transaction.commit();
    return purged;
}

}  // namespace dorvanel
