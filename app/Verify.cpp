#include "Verify.h"

#include "ProgressBar.h"
#include "Session.h"
#include "Texts.h"

#include <Dorvanel/ContentDigests.h>

#include <optional>

namespace dorvanel::cli {

namespace {

// The documents named, each checked to exist, or else every one that holds content; with
// withoutDigest, only those that have no digest recorded.
QStringList documentsAsked(Session& session, QStringList guids, bool withoutDigest) {
    if (guids.isEmpty())
        return withoutDigest ? documentsWithoutDigest(session.connection()) : documentsToVerify(session.connection());
    for (const QString& guid : guids) session.requireDocument(guid);
    if (withoutDigest)
        guids.removeIf(
            [&](const QString& guid) { return recordedContentDigest(session.connection(), guid).has_value(); });
    return guids;
}

// Runs check on each document, the progress bar labelled with its key.
template <typename Check>
void forEachDocument(const QStringList& guids, const Check& check) {
    forEachShown(
        guids, [](const QString& guid) { return guid; }, check);
}

// Why the content no longer matches what was recorded, or "" when it does.
QString mismatch(const ContentDigest& recorded, const std::optional<ContentDigest>& actual) {
    if (!actual) return Texts::tr("ya no tiene contenido");
    if (actual->size != recorded.size)
        return Texts::tr("el contenido mide %1 bytes y se guardaron %2").arg(actual->size).arg(recorded.size);
    if (actual->sha256 != recorded.sha256)
        return Texts::tr("el contenido cambió: su SHA-256 es %1 y se guardó %2")
            .arg(QString::fromLatin1(actual->sha256), QString::fromLatin1(recorded.sha256));
    return {};
}

}  // namespace

bool verifyContents(Session& session, QTextStream& out, const QStringList& guids) {
    Connection& database = session.connection();
    const QStringList checked = documentsAsked(session, guids, false);
    qsizetype damaged = 0;
    qsizetype withoutDigest = 0;
    forEachDocument(checked, [&](const QString& guid) {
        const std::optional<ContentDigest> recorded = recordedContentDigest(database, guid);
        if (!recorded) {
            ++withoutDigest;
            return;
        }
        const QString why = mismatch(*recorded, computeContentDigest(database, guid));
        if (why.isEmpty()) return;
        ++damaged;
        out << guid << "  " << why << Qt::endl;
    });
    QTextStream err(stderr);
    err << Texts::tr("Documentos verificados: %1; no coinciden: %2").arg(checked.size() - withoutDigest).arg(damaged)
        << Qt::endl;
    if (withoutDigest > 0)
        err << Texts::tr("Sin resumen guardado: %1 (dorvanel verify --backfill los calcula)").arg(withoutDigest)
            << Qt::endl;
    return damaged == 0;
}

void backfillDigests(Session& session, QTextStream& out, const QStringList& guids) {
    Connection& database = session.connection();
    qsizetype recorded = 0;
    forEachDocument(documentsAsked(session, guids, true), [&](const QString& guid) {
        const std::optional<ContentDigest> digest = computeContentDigest(database, guid);
        if (!digest) return;
        recordContentDigest(database, guid, *digest);
        ++recorded;
    });
    out << Texts::tr("Resúmenes calculados: %1").arg(recorded) << Qt::endl;
}

}  // namespace dorvanel::cli
