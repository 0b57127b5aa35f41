#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "Failure.h"
#include "Texts.h"

namespace dorvanel::cli {

namespace {

void runLink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    if (context.session().link(parent, guid, arguments.value(QStringLiteral("parent-type")),
                               !arguments.isSet(QStringLiteral("no-sys"))))
        context.out << Texts::tr("Documento %1 vinculado a %2").arg(guid, parent) << Qt::endl;
    else
        context.out
            << Texts::tr("El documento %1 ya estaba vinculado a %2: no se añadió otro vínculo").arg(guid, parent)
            << Qt::endl;
}

void runUnlink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    if (!context.session().unlink(parent, guid))
        throw Failure{NotFound,
                      Texts::tr("El documento %1 no está vinculado a %2: no se quitó nada").arg(guid, parent)};
    context.out << Texts::tr("Vínculo quitado: %1 ya no está vinculado a %2").arg(guid, parent) << Qt::endl;
}

void runParents(Context& context, const Arguments& arguments) {
    for (const QString& parent : context.session().parents(arguments.positional(0))) context.out << parent << '\n';
}

}  // namespace

Command linkCommand() {
    return {{"link",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "vincula el documento CLAVE al padre"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "PADRE"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")},
             {ParentTypeOption,
              {{"no-sys"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "el vínculo no es del sistema")}}},
            exitingZero(runLink)};
}

Command unlinkCommand() {
    return {{"unlink",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "quita el vínculo del documento CLAVE con el padre"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "PADRE"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")}},
            exitingZero(runUnlink)};
}

Command parentsCommand() {
    return {{"parents",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "muestra los padres del documento, uno por línea"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")}},
            exitingZero(runParents)};
}

}  // namespace dorvanel::cli
