#include "Command.h"
#include "CommonOptions.h"
#include "ContentCopy.h"
#include "Context.h"
#include "ListingOutput.h"
#include "ParentKeys.h"

namespace dorvanel::cli {

namespace {

void runList(Context& context, const Arguments& arguments) {
    ListingQuery query;
    query.parents = parentsAsked(arguments);
    if (arguments.isSet(QStringLiteral("parents-from")))
        query.parents << keysInFile(arguments.value(QStringLiteral("parents-from")));
    query.type = arguments.value(QStringLiteral("type"));
    query.noSys = arguments.isSet(QStringLiteral("no-sys"));
    query.linkedOnly = arguments.isSet(QStringLiteral("all"));
    const DocumentListing listing = context.session().list(query);
    context.out.flush();
    const auto write = arguments.isSet(QStringLiteral("json")) ? writeJson : writeTable;
    write(listing, writeBytesToStandardOutput);
}

}  // namespace

Command listCommand() {
    return {{"list",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "lista cada documento una vez, como tabla o como JSON"),
             {},
             {ParentsOption,
              {{"parents-from"},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO"),
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "añade las claves de padre de ARCHIVO, una por línea")},
              TypeFilterOption,
              NoSysLinksOption,
              {{"all"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "solo los documentos que tienen algún vínculo")},
              {{"json"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "como arreglo JSON en lugar de tabla")}}},
            exitingZero(runList)};
}

}  // namespace dorvanel::cli
