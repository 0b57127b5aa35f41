#include "Command.h"
#include "Context.h"
#include "DocumentReading.h"
#include "ProgressBar.h"
#include "Texts.h"

#include <Dorvanel/DocumentMiniature.h>

#include <QTextStream>

namespace dorvanel::cli {

namespace {

void report(QTextStream& out, const MiniatureCounts& counts) {
    out << Texts::tr("con miniatura: %1").arg(counts.with) << Qt::endl
        << Texts::tr("sin miniatura: %1").arg(counts.without) << Qt::endl;
}

// Each document goes to the extraction program as the database holds it; one it makes no
// miniature of is named with the reason and stays as it was.
void backfill(Session& session) {
    const QStringList guids = documentsWithoutMiniature(session.connection());
    qsizetype made = 0;
    forEachShown(
        guids, [](const QString& guid) { return guid; },
        [&](const QString& guid) {
            const DocumentRef document = session.requireDocument(guid);
            if (session.reading().readStored(guid, document.type, {.miniature = true, .text = false})) ++made;
        });
    QTextStream(stderr) << Texts::tr("miniaturas hechas: %1 de %2 documentos sin ella").arg(made).arg(guids.size())
                        << Qt::endl;
}

void runMiniatures(Context& context, const Arguments& arguments) {
    Session& session = context.session();
    if (arguments.isSet(QStringLiteral("backfill"))) backfill(session);
    report(context.out, countMiniatures(session.connection()));
}

}  // namespace

Command miniaturesCommand() {
    return {{"miniatures",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "cuenta los documentos con contenido que tienen miniatura y los que no"),
             {},
             {{{"backfill"},
               {},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                 "antes, hace con el programa de extracción la miniatura de los que no la tienen")}}},
            exitingZero(runMiniatures)};
}

}  // namespace dorvanel::cli
