#include "repository/DocumentVersions.h"

#include "platform/BlobStreaming.h"
#include "platform/Connection.h"
#include "platform/CurrentTime.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/IsoTimes.h"

#include <QCoreApplication>
#include <functional>
#include <optional>

namespace dorvanel {

namespace {

// A document's versions as they stand: the rows kept for it, and its current content's version
// when no row is kept for that yet (a document never replaced, or one whose content was changed
// by other means since).
struct History {
    QList<DocumentVersion> versions;
    bool currentKept = false;

    const DocumentVersion& current() const { return versions.last(); }
    const DocumentVersion* find(qint32 number) const {
        for (const DocumentVersion& version : versions)
            if (version.number == number) return &version;
        return nullptr;
    }
};

// Where a version's bytes are: the current one in Docs, an earlier one in DocContents by digest.
struct Bytes {
    QString table;
    QString keyColumn;
    QVariant key;
};

Bytes bytesOf(const QString& guid, const History& history, const DocumentVersion& version) {
    if (version.content == history.current().content) return {QStringLiteral("Docs"), QStringLiteral("Sys_GUID"), guid};
    return {QStringLiteral("DocContents"), QStringLiteral("Sha256"), QString::fromLatin1(version.content.sha256)};
}

QDateTime timeOf(const QString& stored) { return QDateTime::fromString(stored, Qt::ISODateWithMs); }

QList<DocumentVersion> keptVersions(Connection& connection, const QString& guid) {
    const auto rows =
        connection.Execute(QStringLiteral(
                               "SELECT Version, MadeAt, MadeBy, Size, Sha256 FROM DocVersions WHERE Sys_GUID = ? "
                               "ORDER BY Version"),
                           {guid});
    QList<DocumentVersion> versions;
    for (; !rows->Eof(); rows->MoveNext())
        versions.append({rows->value(0).toInt(),
                         timeOf(rows->value(1).toString()),
                         rows->value(2).toString(),
                         {rows->value(3).toLongLong(), rows->value(4).toByteArray().trimmed()},
                         false});
    return versions;
}

// The current content's digest as recorded, or read when none is; nothing when there is no such
// document or it holds no content.
std::optional<ContentDigest> currentDigest(Connection& connection, const QString& guid) {
    if (auto recorded = recordedContentDigest(connection, guid)) return recorded;
    return computeContentDigest(connection, guid);
}

// When the current content became so, as far as Docs tells: its creation for the first
// version, its last change for a later one.
QDateTime currentSince(Connection& connection, const QString& guid, bool first) {
    const QString column = first ? QStringLiteral("Sys_DTCreated") : QStringLiteral("Sys_TimeStamp");
    const auto row = connection.Execute(
        QStringLiteral("SELECT %1 FROM Docs WHERE Sys_GUID = ?").arg(IsoTimes::column(connection.engine(), column)),
        {guid});
    IsoTimes times;
    return timeOf(times.withOffset(row->value(0).toString()));
}

// Who gave the document its current content, as the record of changes tells (read from its end,
// where the latest change is); "" where the database keeps no record or the record names no one.
QString currentMaker(Connection& connection, const QString& guid) {
    if (!connection.hasTable(QStringLiteral("DocAudit"))) return QStringLiteral("");
    const auto row = connection.Execute(QStringLiteral("SELECT Who FROM DocAudit WHERE Doc = ? AND Action IN "
                                                       "('stored', 'replaced', 'restored') ORDER BY Id DESC LIMIT 1"),
                                        {guid});
    return row->Eof() ? QStringLiteral("") : row->value(0).toString();
}

std::optional<History> findHistory(Connection& connection, const QString& guid) {
    const std::optional<ContentDigest> digest = currentDigest(connection, guid);
    if (!digest) return std::nullopt;
    History history{keptVersions(connection, guid)};
    history.currentKept = !history.versions.isEmpty() && history.current().content == *digest;
    if (!history.currentKept) {
        const qint32 number = history.versions.isEmpty() ? 1 : history.current().number + 1;
        history.versions.append(
            {number, currentSince(connection, guid, number == 1), currentMaker(connection, guid), *digest, false});
    }
    history.versions.last().current = true;
    return history;
}

History historyOf(Connection& connection, const QString& guid) {
    if (auto history = findHistory(connection, guid)) return *history;
    const bool exists = !connection.Execute(QStringLiteral("SELECT 1 FROM Docs WHERE Sys_GUID = ?"), {guid})->Eof();
    if (!exists)
        throw Error(Error::NoCurrentRecord,
                    QCoreApplication::translate("dorvanel::DocumentVersions", "No existe el documento %1").arg(guid));
    throw Error(Error::InvalidArgument, QCoreApplication::translate("dorvanel::DocumentVersions",
                                                                    "El documento %1 es externo: no guarda contenido")
                                            .arg(guid));
}

void keepVersion(Connection& connection, const QString& guid, const DocumentVersion& version) {
    connection.Execute(QStringLiteral("INSERT INTO DocVersions (Sys_GUID, Version, MadeAt, MadeBy, Size, Sha256) "
                                      "VALUES (?, ?, ?, ?, ?, ?)"),
                       {guid, version.number, version.madeAt.toString(Qt::ISODateWithMs),
                        version.madeBy.isNull() ? QStringLiteral("") : version.madeBy,  // no one named: ""
                        version.content.size, QString::fromLatin1(version.content.sha256)});
}

// Keeps the current content's bytes as an earlier content, unless some version kept them already.
void keepCurrentBytes(Connection& connection, const QString& guid, const ContentDigest& digest) {
    const QString sha256 = QString::fromLatin1(digest.sha256);
    if (!connection.Execute(QStringLiteral("SELECT 1 FROM DocContents WHERE Sha256 = ?"), {sha256})->Eof()) return;
    connection.Execute(QStringLiteral("INSERT INTO DocContents (Sha256, Size) VALUES (?, ?)"), {sha256, digest.size});
    BlobStreaming::copyValue(connection, QStringLiteral("Docs"), QStringLiteral("Data"), QStringLiteral("Sys_GUID"),
                             guid, QStringLiteral("DocContents"), QStringLiteral("Data"), QStringLiteral("Sha256"),
                             sha256);
}

// Makes the content with that digest, which write puts in Docs.Data, the current one, keeping the
// one it had; inside the caller's transaction, so that all of it is done or none.
VersionChange makeCurrent(Connection& connection, const QString& guid, const History& history,
                          const ContentDigest& incoming, const QString& who, const std::function<void()>& write) {
    const DocumentVersion& current = history.current();
    if (current.content == incoming) return {current.number, false};
    if (!history.currentKept) keepVersion(connection, guid, current);
    keepCurrentBytes(connection, guid, current.content);
    write();
    recordContentDigest(connection, guid, incoming);
    const qint32 number = current.number + 1;
    keepVersion(connection, guid, {number, timeOf(IsoTimes::now()), who, incoming, true});
    return {number, true};
}

// Set with the new content in one update: on SQLite the update trigger that sets the time
// otherwise writes the row once more, reading the whole content into memory to do so.
QString newTime(const Connection& connection) {
    return QStringLiteral("Sys_TimeStamp = ") + CurrentTimeSql(connection.engine());
}

Error fileChanged(const QString& file) {
    return Error(Error::FileFailed,
                 QCoreApplication::translate("dorvanel::DocumentVersions", "El archivo %1 cambió mientras se guardaba")
                     .arg(file));
}

// Writes the file into the document's content: bound whole when small, else streamed into a
// value of its size. Its bytes must be those digested beforehand.
void writeFile(Connection& connection, const QString& guid, const QString& file, const ContentDigest& expected) {
    BlobStreaming::Slot slot = BlobStreaming::slotFor(connection, file);
    // On PostgreSQL a streamed file sets the value itself, in one UPDATE.
    const bool setsItself = slot.streamed && connection.engine() == Connection::Engine::PostgreSql;
    if (!setsItself)
        connection.Execute(QStringLiteral("UPDATE Docs SET Data = %1, %2 WHERE Sys_GUID = ?")
                               .arg(slot.placeholder, newTime(connection)),
                           {slot.value, guid});
    if (slot.streamed)
        slot.sha256 = BlobStreaming::writeFromFile(connection, QStringLiteral("Docs"), QStringLiteral("Data"),
                                                   QStringLiteral("Sys_GUID"), guid, file);
    if (!(ContentDigest{slot.size, slot.sha256} == expected)) throw fileChanged(file);
}

}  // namespace

VersionChange replaceDocumentContent(Connection& connection, const QString& guid, const QString& file,
                                     const QString& who) {
    const ContentDigest incoming = fileContentDigest(file);
    // The versions are read under the write lock, so that no other writer comes in between.
    Connection::Transaction transaction(connection);
    const VersionChange change = makeCurrent(connection, guid, historyOf(connection, guid), incoming, who,
                                             [&] { writeFile(connection, guid, file, incoming); });
    transaction.commit();
    return change;
}

QList<DocumentVersion> documentVersions(Connection& connection, const QString& guid) {
    Connection::Transaction snapshot(connection, Connection::Access::ReadOnly);
    const std::optional<History> history = findHistory(connection, guid);
    return history ? history->versions : QList<DocumentVersion>();
}

bool copyDocumentVersion(Connection& connection, const QString& guid, qint32 number, QIODevice& target,
                         const QString& targetName) {
    Connection::Transaction snapshot(connection, Connection::Access::ReadOnly);
    const std::optional<History> history = findHistory(connection, guid);
    const DocumentVersion* version = history ? history->find(number) : nullptr;
    if (!version) return false;
    const Bytes bytes = bytesOf(guid, *history, *version);
    return BlobStreaming::readTo(connection, bytes.table, QStringLiteral("Data"), bytes.keyColumn, bytes.key, target,
                                 targetName);
}

VersionChange restoreDocumentVersion(Connection& connection, const QString& guid, qint32 number, const QString& who) {
    Connection::Transaction transaction(connection);
    const History history = historyOf(connection, guid);
    const DocumentVersion* version = history.find(number);
    if (!version)
        throw Error(Error::NoCurrentRecord,
                    QCoreApplication::translate("dorvanel::DocumentVersions", "El documento %1 no tiene la versión %2")
                        .arg(guid)
                        .arg(number));
    const Bytes bytes = bytesOf(guid, history, *version);
    const VersionChange change = makeCurrent(connection, guid, history, version->content, who, [&] {
        BlobStreaming::copyValue(connection, bytes.table, QStringLiteral("Data"), bytes.keyColumn, bytes.key,
                                 QStringLiteral("Docs"), QStringLiteral("Data"), QStringLiteral("Sys_GUID"), guid,
                                 newTime(connection));
    });
    transaction.commit();
    return change;
}

}  // namespace dorvanel
