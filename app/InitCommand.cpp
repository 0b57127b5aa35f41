#include "Command.h"
#include "Context.h"
#include "Texts.h"

namespace dorvanel::cli {

namespace {

void runInit(Context& context, const Arguments&) {
    context.sessionCreating().createSchema();
    context.out << Texts::tr("Base de datos lista: %1").arg(context.databaseUrl()) << Qt::endl;
}

}  // namespace

Command initCommand() {
    return {{"init",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "crea las tablas y vistas (no hace nada si ya existen)")},
            exitingZero(runInit)};
}

}  // namespace dorvanel::cli
