#include "Command.h"
#include "CommonOptions.h"
#include "ContentReindex.h"
#include "Context.h"
#include "Search.h"
#include "Texts.h"

#include <Dorvanel/FindDocumentsByWords.h>
#include <Dorvanel/Schema.h>

namespace dorvanel::cli {

namespace {

void runSearch(Context& context, const Arguments& arguments) {
    WordQuery query;
    query.words = arguments.positionals().join(QLatin1Char(' '));
    query.parents = parentsAsked(arguments);
    query.type = arguments.value(QStringLiteral("type"));
    query.limit = countAsked(arguments, QStringLiteral("limit"), 50);
    requireParentKeys(query.parents);
    context.session().requireWordIndex();
    const QList<FoundDocument> found = findDocumentsByWords(context.session().connection(), query);
    if (arguments.isSet(QStringLiteral("json"))) {
        context.out << foundJson(found);
    } else {
        context.out << foundTable(found);
    }
}

void runReindex(Context& context, const Arguments& arguments) {
    if (arguments.isSet(QStringLiteral("all")) && !arguments.isSet(QStringLiteral("content")))
        throw UsageError{Texts::tr("la opción --all solo vale con --content")};
    if (arguments.isSet(QStringLiteral("content"))) {
        context.session().requireDocumentTexts();
        readContentTexts(context.session(), context.out, arguments.isSet(QStringLiteral("all")));
        return;
    }
    rebuildWordIndex(context.session().connection());
    context.out << Texts::tr("Índice de palabras rehecho en %1").arg(context.shownDatabaseName()) << Qt::endl;
}

}  // namespace

Command searchCommand() {
    return {{"search",
             QT_TRANSLATE_NOOP(
                 "dorvanel::cli::Texts",
                 "busca documentos por palabras de su nombre, descripción, palabras clave o texto del contenido, "
                 "los mejores primero; los hallados solo gracias al texto, después, con un fragmento de él"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "PALABRA...")},
             {ParentsOption,
              TypeFilterOption,
              {{"limit"},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "N"),
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "como mucho N documentos (50 si no se indica)")},
              {{"json"},
               {},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                 "como arreglo JSON en lugar de tabla; «matched» dice dónde se hallaron las palabras "
                                 "(\"fields\": todas en nombre, descripción o palabras clave; \"content\": alguna solo "
                                 "en el texto) y «snippet» da el fragmento del texto")}},
             {},
             true},
            exitingZero(runSearch)};
}

Command reindexCommand() {
    return {{"reindex",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "rehace el índice de palabras con lo que guarda la base de datos"),
             {},
             {{{"content"},
               {},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                 "en lugar de eso, lee el texto de los documentos que aún no lo tienen y lo indexa")},
              {{"all"},
               {},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                 "con --content, vuelve a leer el texto de todos los documentos con contenido")}}},
            exitingZero(runReindex)};
}

}  // namespace dorvanel::cli
