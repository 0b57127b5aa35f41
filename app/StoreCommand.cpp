#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "DocumentReading.h"
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
    const HeldContent held = storeOnce(context.session(), request, arguments.values(QStringLiteral("parent")),
                                       arguments.value(QStringLiteral("parent-type")),
                                       arguments.isSet(QStringLiteral("dedup")));
    context.out << held.guid << Qt::endl;
    if (!held.existed) context.session().readStored(held.guid, request, readingAsked(arguments));
}

}  // namespace

Command storeCommand() {
    return {
        {"store",
         QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "guarda un archivo y escribe su clave en la última línea"),
         {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO")},
         {{{"name"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "NOMBRE"),
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "nombre del documento"),
           Presence::Required},
          {{"description"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "TEXTO"),
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "descripción del documento")},
          {{"keywords"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "PALABRAS"),
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "palabras clave del documento")},
          {{"type"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "TIPO"),
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "tipo del documento; sin ella, la extensión del archivo")},
          {{"url"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO es una dirección externa, no un archivo")},
          {{"parent"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE"),
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "vincula el documento a ese padre"),
           Presence::Repeatable},
          ParentTypeOption,
          DedupOption,
          NoMiniatureOption}},
        exitingZero(runStore)};
}

}  // namespace dorvanel::cli
