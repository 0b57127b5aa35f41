#include "Command.h"
#include "Context.h"
#include "Failure.h"
#include "Texts.h"
#include "Tour.h"

#include <QTemporaryDir>

namespace dorvanel::cli {

namespace {

// Without a database named, the tour runs on one of its own that it removes at the end, so that
// trying it leaves the user's documents as they were.
void runTourCommand(Context& context, const Arguments&) {
    if (context.databaseNamed()) return runTour(context.sessionCreating(), context.out, context.databaseUrl(), false);
    const QTemporaryDir folder;
    if (!folder.isValid())
        throw Failure{
            Failed, Texts::tr("No se pudo crear una carpeta temporal para el recorrido: %1").arg(folder.errorString())};
    const QString url = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("recorrido.sqlite"));
    Session session(url, context.out, MissingDatabase::Created);
    runTour(session, context.out, url, true);
}

}  // namespace

Command tourCommand() {
    return {{"tour", QT_TRANSLATE_NOOP(
                         "dorvanel::cli::Texts",
                         "recorrido guiado con documentos de ejemplo, en una base temporal salvo que se indique --db")},
            exitingZero(runTourCommand)};
}

}  // namespace dorvanel::cli
