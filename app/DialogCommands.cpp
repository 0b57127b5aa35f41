#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "Dialogs.h"
#include "Texts.h"

#include <Dorvanel/FillDocumentList.h>
#include <Dorvanel/Manager.h>

namespace dorvanel::cli {

namespace {

// Shows a dialog through show, which tells whether the user accepted it: with --screenshot,
// photographed and closed; otherwise watched, and so are the message boxes it shows.
int runDialogAsAsked(Context& context, const Arguments& arguments, const std::function<bool()>& show) {
    const QString screenshot = arguments.value(QStringLiteral("screenshot"));
    context.session().setWatched(screenshot.isEmpty());
    return runDialog(show, screenshot);
}

// add and browse take --read-documents for the documents added through them.
void readDocumentsAsAsked(Context& context, const Arguments& arguments) {
    context.session().setReadsDocuments(arguments.isSet(QStringLiteral("read-documents")));
}

int runAdd(Context& context, const Arguments& arguments) {
    readDocumentsAsAsked(context, arguments);
    return runDialogAsAsked(context, arguments, [&] {
        return context.session().add(arguments.positional(0), arguments.positional(1),
                                     arguments.value(QStringLiteral("parent-type")));
    });
}

int runEdit(Context& context, const Arguments& arguments) {
    return runDialogAsAsked(context, arguments, [&] { return context.session().edit(arguments.positional(0)); });
}

// The component's list joins a dialog's parents into one expression, one level deeper for each,
// and SQLite takes expressions up to 1,000 levels deep: past that the dialog would open empty.
void requireDialogParents(Context& context, qsizetype count) {
    const qsizetype most = mostListedParents(context.session().connection());
    if (count > most)
        throw UsageError{Texts::tr("en SQLite el diálogo toma como mucho %1 padres, no %2 (la consulta del "
                                   "componente los une en una sola expresión); list --parents-from no tiene "
                                   "ese límite")
                             .arg(most)
                             .arg(count)};
}

int runFind(Context& context, const Arguments& arguments) {
    FindQuery query;
    query.parents = parentsAsked(arguments);
    requireDialogParents(context, query.parents.size());
    query.type = arguments.value(QStringLiteral("type"));
    query.noSys = arguments.isSet(QStringLiteral("no-sys"));
    query.miniatures = arguments.isSet(QStringLiteral("miniatures"));
    QString chosen;
    const int status = runDialogAsAsked(context, arguments, [&] {
        chosen = context.session().find(query);
        return !chosen.isEmpty();
    });
    if (!chosen.isEmpty()) context.out << chosen << Qt::endl;
    return status;
}

// The dialog has no answer to give: closing it is the way out.
int runBrowse(Context& context, const Arguments& arguments) {
    const QString parents = arguments.positional(0);
    requireDialogParents(context, parents.split(QLatin1Char(','), Qt::SkipEmptyParts).size());
    const QString info = arguments.isSet(QStringLiteral("info")) ? arguments.value(QStringLiteral("info")) : parents;
    readDocumentsAsAsked(context, arguments);
    context.session().manager().setUsesTrash(arguments.isSet(QStringLiteral("trash")));
    return runDialogAsAsked(context, arguments, [&] {
        context.session().browse(parents, info, arguments.value(QStringLiteral("parent-type")));
        return true;
    });
}

}  // namespace

Command addCommand() {
    return {{"add",
             QT_TRANSLATE_NOOP(
                 "dorvanel::cli::Texts",
                 "muestra el diálogo para adjuntar un documento a los padres; sale con 0 si se guardó y vinculó"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "PADRES")},
             {ParentTypeOption, ReadDocumentsOption, ScreenshotOption},
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO")}},
            runAdd,
            Shows::Windows};
}

Command editCommand() {
    return {{"edit",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "muestra el diálogo de edición del documento; sale con 0 si se guardó"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")},
             {ScreenshotOption}},
            runEdit,
            Shows::Windows};
}

Command findCommand() {
    return {{"find",
             QT_TRANSLATE_NOOP(
                 "dorvanel::cli::Texts",
                 "muestra el diálogo de búsqueda y escribe la clave del documento elegido; sale con 1 si se canceló"),
             {},
             {ParentsOption,
              TypeFilterOption,
              NoSysLinksOption,
              {{"miniatures"},
               {},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "al elegir un documento muestra su miniatura")},
              ScreenshotOption}},
            runFind,
            Shows::Windows};
}

Command browseCommand() {
    return {
        {"browse",
         QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                           "muestra el diálogo que explora los documentos vinculados a los padres"),
         {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "PADRES")},
         {{{"info"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "TEXTO"),
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "lo que sigue al título del diálogo; sin ella, PADRES")},
          ParentTypeOption,
          ReadDocumentsOption,
          {{"trash"},
           {},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                             "«Eliminar» lleva a la papelera, con su vínculo, el documento que queda sin vínculos")},
          ScreenshotOption}},
        runBrowse,
        Shows::Windows};
}

}  // namespace dorvanel::cli
