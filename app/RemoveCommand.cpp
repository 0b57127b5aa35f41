#include "Command.h"
#include "Context.h"

namespace dorvanel::cli {

namespace {

void runRemove(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    context.session().remove(guid);
    context.out << "Documento eliminado: " << guid << Qt::endl;
}

}  // namespace

Command removeCommand() {
    return {{"rm", "quita los vínculos del documento y lo elimina", {"CLAVE"}}, exitingZero(runRemove)};
}

}  // namespace dorvanel::cli
