#include "StoreOnce.h"

#include "LocalFile.h"
#include "Session.h"
#include "Texts.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/ContentDigests.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/Recordset.h>

#include <QTextStream>

namespace dorvanel::cli {

namespace {

// Until the transaction ends, no other process decides a holder for this content. On SQLite the
// transaction holds the write lock already; on PostgreSQL a lock on the digest's first 60 bits.
void lockContent(Connection& connection, const ContentDigest& digest) {
    if (connection.engine() == Connection::Engine::Sqlite) return;
    const qint64 lock = digest.sha256.left(15).toLongLong(nullptr, 16);
    connection.Execute(QStringLiteral("SELECT 1 FROM pg_advisory_xact_lock(%1)").arg(lock));
}

qint64 storedSize(Connection& connection, const QString& guid) {
    const QString length = connection.engine() == Connection::Engine::Sqlite
                               ? QStringLiteral("length(CAST(Data AS BLOB))")
                               : QStringLiteral("octet_length(Data)");
    const auto row = connection.Execute(QStringLiteral("SELECT %1 FROM Docs WHERE Sys_GUID = ?").arg(length), {guid});
    return row->Eof() || row->value(0).isNull() ? -1 : row->value(0).toLongLong();
}

// A content rewritten with plain SQL keeps the digest recorded before, so the recorded digest
// alone is not trusted: the size must agree, and then the content read back must give the digest.
bool stillHolds(Connection& connection, const QString& guid, const ContentDigest& digest) {
    return storedSize(connection, guid) == digest.size && computeContentDigest(connection, guid) == digest;
}

// The documents whose recorded digest is this content's: the oldest that still holds it, and
// how many no longer do.
struct Holders {
    QString sound;
    int stale = 0;
};

// Each holder that no longer holds the content is named on err.
Holders holdersOf(Session& session, const ContentDigest& digest, QTextStream& err) {
    Holders holders;
    for (const QString& holder : documentsWithDigest(session.connection(), digest)) {
        if (stillHolds(session.connection(), holder, digest)) {
            holders.sound = holder;
            break;
        }
        ++holders.stale;
        err << Texts::tr(
                   "Nota: el documento %1 ya no tiene el contenido de su resumen guardado (se cambió después de "
                   "guardarlo): no se vincula")
                   .arg(holder)
            << Qt::endl;
    }
    return holders;
}

// Links the document to every parent it is not linked to yet.
void linkExisting(Session& session, const QString& guid, const QStringList& parents, const QString& parentType,
                  const std::function<void(const QString& guid)>& alongside) {
    for (const QString& parent : parents) session.link(parent, guid, parentType, true);
    if (alongside) alongside(guid);
}

// Names the document that held the content before guid, which is committed already: a failure
// to find out is only told, since what it reports must stay true of what was stored.
void noteEarlierHolder(Session& session, const QString& guid, QTextStream& err) {
    try {
        if (!session.keepsDigests()) return;
        if (const QString holder = documentsWithContentOf(session.connection(), guid).value(0); !holder.isEmpty())
            err << Texts::tr("El documento %1 ya tenía el mismo contenido").arg(holder) << Qt::endl;
    } catch (const Error& error) {
        err << Texts::tr("Guardado %1, pero no se pudo ver si otro documento ya tenía el mismo contenido: %2")
                   .arg(guid, error.description())
            << Qt::endl;
    }
}

// Without dedup the content is stored again, and a note names the document that held it.
QString storeNoting(Session& session, const StoreRequest& request, const QStringList& parents,
                    const QString& parentType, const std::function<void(const QString& guid)>& alongside,
                    QTextStream& err) {
    const QString guid = session.store(request, parents, parentType, alongside);
    if (!request.isUrl) noteEarlierHolder(session, guid, err);
    return guid;
}

}  // namespace

HeldContent storeOnce(Session& session, const StoreRequest& request, const QStringList& parents,
                      const QString& parentType, bool once, const std::function<void(const QString& guid)>& alongside) {
    QTextStream err(stderr);
    if (!once || request.isUrl) return {storeNoting(session, request, parents, parentType, alongside, err)};
    session.requireDigests();
    const ContentDigest digest = fileContentDigest(LocalFile(request.file).readablePath());
    // The holder is chosen, and linked or the file stored, in one transaction under a lock, so
    // that processes storing the same content at once store it once.
    Connection::Transaction transaction(session.connection());
    lockContent(session.connection(), digest);
    const Holders holders = holdersOf(session, digest, err);
    if (holders.sound.isEmpty()) {
        const QString guid = session.store(request, parents, parentType, alongside);
        transaction.commit();
        if (holders.stale > 0) err << Texts::tr("El archivo se guardó como documento nuevo: %1").arg(guid) << Qt::endl;
        return {guid};
    }
    linkExisting(session, holders.sound, parents, parentType, alongside);
    transaction.commit();
    err << Texts::tr("El documento ya existía con el mismo contenido: %1").arg(holders.sound) << Qt::endl;
    return {holders.sound, true};
}

}  // namespace dorvanel::cli
