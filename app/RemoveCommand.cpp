#include "Command.h"
#include "Context.h"
#include "Texts.h"

#include <Dorvanel/Manager.h>
#include <Dorvanel/Trash.h>

namespace dorvanel::cli {

namespace {

// A database with the trash's tables keeps what rm removes there, unless --purge.
void runRemove(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    Session& session = context.session();
    if (arguments.isSet(QStringLiteral("purge")) || !keepsTrash(session.connection())) {
        session.remove(guid);
        context.out << Texts::tr("Documento eliminado: %1").arg(guid) << Qt::endl;
        return;
    }
    session.requireDocument(guid);
    moveDocumentToTrash(session.connection(), guid, session.manager().userName());
    context.out << Texts::tr("Documento movido a la papelera con sus vínculos: %1 (restore lo devuelve)").arg(guid)
                << Qt::endl;
}

}  // namespace

Command removeCommand() {
    return {{"rm",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "mueve el documento y sus vínculos a la papelera; sin papelera, o con --purge, quita "
                               "sus vínculos y lo elimina"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")},
             {{{"purge"},
               {},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "lo elimina para siempre, sin pasar por la papelera")}}},
            exitingZero(runRemove)};
}

}  // namespace dorvanel::cli
