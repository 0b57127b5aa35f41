#include "StoreOnce.h"

#include "LocalFile.h"
#include "Session.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/ContentDigests.h>
#include <Dorvanel/Error.h>

#include <QTextStream>

namespace dorvanel::cli {

namespace {

// The oldest document holding this content other than except, or "" when there is none.
QString holderOf(Session& session, const ContentDigest& digest, const QString& except = {}) {
    QStringList holders = DocumentsWithDigest(session.connection(), digest);
    holders.removeAll(except);
    return holders.value(0);
}

// Links the document to every parent it is not linked to yet, all or nothing.
void linkExisting(Session& session, const QString& guid, const QStringList& parents, const QString& parentType,
                  const std::function<void(const QString& guid)>& alongside) {
    Connection::Transaction transaction(session.connection());
    const QStringList linked = session.parents(guid);
    for (const QString& parent : parents)
        if (!linked.contains(parent)) session.link(parent, guid, parentType, true);
    if (alongside) alongside(guid);
    transaction.Commit();
}

// Names the document that held the content before guid, which is committed already: a failure
// to find out is only told, since what it reports must stay true of what was stored.
void noteEarlierHolder(Session& session, const QString& guid, QTextStream& err) {
    try {
        if (!session.keepsDigests()) return;
        const std::optional<ContentDigest> digest = RecordedContentDigest(session.connection(), guid);
        if (const QString holder = digest ? holderOf(session, *digest, guid) : QString(); !holder.isEmpty())
            err << "El documento " << holder << " ya tenía el mismo contenido" << Qt::endl;
    } catch (const Error& error) {
        err << "Guardado " << guid
            << ", pero no se pudo ver si otro documento ya tenía el mismo contenido: " << error.description()
            << Qt::endl;
    }
}

}  // namespace

HeldContent storeOnce(Session& session, const StoreRequest& request, const QStringList& parents,
                      const QString& parentType, bool once, const std::function<void(const QString& guid)>& alongside) {
    QTextStream err(stderr);
    if (once && !request.isUrl) {
        session.requireDigests();
        const QString holder = holderOf(session, FileContentDigest(LocalFile(request.file).readablePath()));
        if (!holder.isEmpty()) {
            linkExisting(session, holder, parents, parentType, alongside);
            err << "El documento ya existía con el mismo contenido: " << holder << Qt::endl;
            return {holder, true};
        }
    }
    const QString guid = session.store(request, parents, parentType, alongside);
    if (!request.isUrl) noteEarlierHolder(session, guid, err);
    return {guid};
}

}  // namespace dorvanel::cli
