#include "Command.h"
#include "Context.h"
#include "Duplicates.h"

namespace dorvanel::cli {

namespace {

void runDuplicates(Context& context, const Arguments& arguments) {
    context.session().requireDigests();
    if (arguments.isSet(QStringLiteral("json"))) {
        context.out << duplicatesJson(context.session());
    } else {
        context.out << duplicatesText(context.session());
    }
}

}  // namespace

Command duplicatesCommand() {
    return {{"duplicates",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "lista los grupos de documentos con el mismo contenido y el espacio que ocupan"),
             {},
             {{{"json"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "como arreglo JSON en lugar de texto")}}},
            exitingZero(runDuplicates)};
}

}  // namespace dorvanel::cli
