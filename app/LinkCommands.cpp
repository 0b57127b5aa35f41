#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "Failure.h"

namespace dorvanel::cli {

namespace {

void runLink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    if (context.session().link(parent, guid, arguments.value(QStringLiteral("parent-type")),
                               !arguments.isSet(QStringLiteral("no-sys"))))
        context.out << "Documento " << guid << " vinculado a " << parent << Qt::endl;
    else
        context.out << "El documento " << guid << " ya estaba vinculado a " << parent << ": no se añadió otro vínculo"
                    << Qt::endl;
}

void runUnlink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    if (!context.session().unlink(parent, guid))
        throw Failure{NotFound,
                      QStringLiteral("El documento %1 no está vinculado a %2: no se quitó nada").arg(guid, parent)};
    context.out << "Vínculo quitado: " << guid << " ya no está vinculado a " << parent << Qt::endl;
}

void runParents(Context& context, const Arguments& arguments) {
    for (const QString& parent : context.session().parents(arguments.positional(0))) context.out << parent << '\n';
}

}  // namespace

Command linkCommand() {
    return {{"link",
             "vincula el documento CLAVE al padre",
             {"PADRE", "CLAVE"},
             {ParentTypeOption, {{"no-sys"}, {}, "el vínculo no es del sistema"}}},
            exitingZero(runLink)};
}

Command unlinkCommand() {
    return {{"unlink", "quita el vínculo del documento CLAVE con el padre", {"PADRE", "CLAVE"}},
            exitingZero(runUnlink)};
}

Command parentsCommand() {
    return {{"parents", "muestra los padres del documento, uno por línea", {"CLAVE"}}, exitingZero(runParents)};
}

}  // namespace dorvanel::cli
