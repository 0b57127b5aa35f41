#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "DocumentReading.h"
#include "Texts.h"

#include <Dorvanel/DocumentVersions.h>
#include <Dorvanel/Manager.h>
#include <Dorvanel/Trash.h>

namespace dorvanel::cli {

namespace {

void restoreVersion(Context& context, const QString& guid, int number) {
    Session& session = context.session();
    const DocumentRef document = session.requireDocument(guid);
    session.requireVersions();
    const VersionChange change = restoreDocumentVersion(session.connection(), guid, number,
                                                        session.manager().userName());
    if (change.added) {
        context.out << Texts::tr("Versión actual de %1: %2").arg(guid).arg(change.current) << Qt::endl;
        // As after a replacement: the restored content's miniature and text, read from where it now is.
        session.reading().readStored(guid, document.type, ReadingWanted{});
    } else {
        context.out << Texts::tr("Nada cambió: la versión %1 es el contenido actual de %2").arg(number).arg(guid)
                    << Qt::endl;
    }
}

void runRestore(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    if (arguments.isSet(QStringLiteral("version"))) {
        restoreVersion(context, guid, countAsked(arguments, QStringLiteral("version"), 0));
        return;
    }
    requireKey(guid, Texts::tr("del documento"));
    Session& session = context.session();
    session.requireTrash();
    restoreFromTrash(session.connection(), guid);
    context.out << Texts::tr("Documento restaurado con sus vínculos: %1").arg(guid) << Qt::endl;
}

}  // namespace

Command restoreCommand() {
    return {{"restore",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "devuelve el documento de la papelera con sus vínculos; con --version, hace de esa "
                               "versión el contenido actual"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")},
             {{{"version"},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "N"),
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "la versión N del documento, como una versión nueva")}}},
            exitingZero(runRestore)};
}

}  // namespace dorvanel::cli
