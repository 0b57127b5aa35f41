#include "Command.h"
#include "Context.h"

namespace dorvanel::cli {

namespace {

void runInit(Context& context, const Arguments&) {
    context.sessionCreating().createSchema();
    context.out << "Base de datos lista: " << context.databaseUrl() << Qt::endl;
}

}  // namespace

Command initCommand() {
    return {{"init", "crea las tablas y vistas (no hace nada si ya existen)"}, exitingZero(runInit)};
}

}  // namespace dorvanel::cli
