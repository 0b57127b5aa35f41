#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "Failure.h"
#include "Import.h"
#include "Texts.h"

namespace dorvanel::cli {

namespace {

void runImport(Context& context, const Arguments& arguments) {
    ImportRequest request;
    request.folder = arguments.positional(0);
    request.parent = arguments.value(QStringLiteral("parent"));
    request.parentType = arguments.value(QStringLiteral("parent-type"));
    request.recursive = arguments.isSet(QStringLiteral("recursive"));
    request.hidden = arguments.isSet(QStringLiteral("hidden"));
    request.again = arguments.isSet(QStringLiteral("again"));
    request.dedup = arguments.isSet(QStringLiteral("dedup"));
    request.followLinks = arguments.isSet(QStringLiteral("follow-links"));
    request.reading = readingAsked(arguments);
    const ImportCounts counts = importFolder(context.session(), context.out, request);
    if (counts.failed > 0)
        throw Failure{Failed, Texts::tr("import: %1 archivo(s) no se pudieron guardar; se dice arriba por qué")
                                  .arg(counts.failed)};
}

}  // namespace

Command importCommand() {
    return {
        {"import",
         QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                           "guarda cada archivo de la carpeta y lo vincula al padre; dice cuáles no guardó y por qué"),
         {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CARPETA")},
         {{{"parent"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE"),
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "padre de cada archivo"),
           Presence::Required},
          ParentTypeOption,
          {{"recursive"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "entra también en las subcarpetas")},
          {{"hidden"},
           {},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                             "guarda también los archivos ocultos (los que empiezan por punto)")},
          {{"again"},
           {},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                             "guarda otra vez los ya importados de la misma ruta, tamaño y fecha")},
          {{"follow-links"},
           {},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "sigue también los enlaces que llevan fuera de la carpeta")},
          DedupOption,
          NoMiniatureOption}},
        exitingZero(runImport)};
}

}  // namespace dorvanel::cli
