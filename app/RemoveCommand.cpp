#include "Command.h"
#include "Context.h"
#include "Texts.h"

namespace dorvanel::cli {

namespace {

void runRemove(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    context.session().remove(guid);
    context.out << Texts::tr("Documento eliminado: %1").arg(guid) << Qt::endl;
}

}  // namespace

Command removeCommand() {
    return {{"rm",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "quita los vínculos del documento y lo elimina"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")}},
            exitingZero(runRemove)};
}

}  // namespace dorvanel::cli
