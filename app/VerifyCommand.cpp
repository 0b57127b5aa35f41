#include "Command.h"
#include "Context.h"
#include "Verify.h"

namespace dorvanel::cli {

namespace {

int runVerify(Context& context, const Arguments& arguments) {
    const QStringList guids = arguments.positionals();
    context.session().requireDigests();
    if (arguments.isSet(QStringLiteral("backfill"))) {
        backfillDigests(context.session(), context.out, guids);
        return 0;
    }
    return verifyContents(context.session(), context.out, guids) ? 0 : 1;
}

}  // namespace

Command verifyCommand() {
    return {{"verify",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "comprueba que el contenido de cada documento (o de los indicados) sigue igual; sale "
                               "con 1 si alguno cambió"),
             {},
             {{{"backfill"},
               {},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "calcula los resúmenes de los documentos que no lo tienen")}},
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE...")},
             true},
            runVerify};
}

}  // namespace dorvanel::cli
