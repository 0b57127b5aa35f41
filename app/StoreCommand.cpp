#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "StoreOnce.h"

namespace dorvanel::cli {

namespace {

void runStore(Context& context, const Arguments& arguments) {
    StoreRequest request;
    request.file = arguments.positional(0);
    request.name = arguments.value(QStringLiteral("name"));
    request.description = arguments.value(QStringLiteral("description"));
    request.keywords = arguments.value(QStringLiteral("keywords"));
    request.type = arguments.value(QStringLiteral("type"));
    request.isUrl = arguments.isSet(QStringLiteral("url"));
    context.out << storeOnce(context.session(), request, arguments.values(QStringLiteral("parent")),
                             arguments.value(QStringLiteral("parent-type")), arguments.isSet(QStringLiteral("dedup")))
                       .guid
                << Qt::endl;
}

}  // namespace

Command storeCommand() {
    return {{"store",
             "guarda un archivo y escribe su clave en la última línea",
             {"ARCHIVO"},
             {{{"name"}, "NOMBRE", "nombre del documento", Presence::Required},
              {{"description"}, "TEXTO", "descripción del documento"},
              {{"keywords"}, "PALABRAS", "palabras clave del documento"},
              {{"type"}, "TIPO", "tipo del documento; sin ella, la extensión del archivo"},
              {{"url"}, {}, "ARCHIVO es una dirección externa, no un archivo"},
              {{"parent"}, "CLAVE", "vincula el documento a ese padre", Presence::Repeatable},
              ParentTypeOption,
              DedupOption}},
            exitingZero(runStore)};
}

}  // namespace dorvanel::cli
