#include "Commands.h"

#include "ContentCopy.h"
#include "DatabaseFiles.h"
#include "DemoServices.h"
#include "DemoWindow.h"
#include "Dialogs.h"
#include "DocumentListing.h"
#include "Duplicates.h"
#include "Failure.h"
#include "Import.h"
#include "ParentKeys.h"
#include "SampleDocuments.h"
#include "Search.h"
#include "Session.h"
#include "StoreOnce.h"
#include "Tour.h"
#include "Usage.h"
#include "Verify.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/Schema.h>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <optional>
#include <utility>

namespace dorvanel::cli {

namespace {

QString defaultDatabaseFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Dorvanel";
}

// What a command runs with. The database opens when a command first needs it, so that
// help never touches one.
class Context {
public:
    Context(QString requestedUrl, QTextStream& stream) : out(stream), requestedUrl_(std::move(requestedUrl)) {}

    // Whether the command line or DORVANEL_DB named the database.
    bool databaseNamed() const { return !requestedUrl_.isEmpty(); }

    // The database the command line or DORVANEL_DB named, or else the embedded one.
    QString databaseUrl() const {
        return requestedUrl_.isEmpty() ? "sqlite:" + defaultDatabaseFolder() + "/dorvanel.sqlite" : requestedUrl_;
    }

    // The database, which must exist: reading never creates one.
    Session& session() { return open(MissingDatabase::Refused); }

    // The database, created when missing: for the commands that make one.
    Session& sessionCreating() {
        if (requestedUrl_.isEmpty()) QDir().mkpath(defaultDatabaseFolder());
        return open(MissingDatabase::Created);
    }

    // The database as a message names it, without looking for the default one.
    QString shownDatabaseName() const {
        return requestedUrl_.isEmpty() ? QStringLiteral("predeterminada") : shownDatabase(requestedUrl_);
    }

    QTextStream& out;

private:
    Session& open(MissingDatabase missing) {
        // SQLite would take either for a temporary database, gone when the command ends.
        if (databaseUrl() == QLatin1String("sqlite:"))
            throw UsageError{QStringLiteral("la dirección sqlite: necesita la ruta del archivo (sqlite:RUTA)")};
        if (databaseUrl() == QLatin1String("sqlite::memory:"))
            throw UsageError{
                QStringLiteral("sqlite::memory: es una base en memoria que se pierde al acabar la orden; "
                               "nombre un archivo (sqlite:RUTA)")};
        if (!session_) session_.emplace(databaseUrl(), out, missing);
        return *session_;
    }

    QString requestedUrl_;
    std::optional<Session> session_;
};

// Runs a command and gives its exit status. A command that tells its result through the status
// gives 0 when the user accepted or saved and 1 when not; the others give 0.
using Handler = std::function<int(Context&, const Arguments&)>;

// A command whose result is its output: a failure is raised, and anything else exits 0.
Handler exitingZero(void (*run)(Context&, const Arguments&)) {
    return [run](Context& context, const Arguments& arguments) {
        run(context, arguments);
        return 0;
    };
}

// What a command shows: the ones that show nothing run without a GUI application, so that they
// need no display and Qt's platform is never loaded.
enum class Shows { Nothing, Windows };

struct Command {
    CommandSyntax syntax;
    Handler run;
    Shows shows = Shows::Nothing;
};

const QList<Command>& commands();

const Command& commandNamed(const QString& name) {
    for (const Command& command : commands())
        if (command.syntax.name == name) return command;
    throw UsageError{QStringLiteral("orden desconocida: %1").arg(name)};
}

QList<CommandSyntax> syntaxes() {
    QList<CommandSyntax> all;
    for (const Command& command : commands()) all << command.syntax;
    return all;
}

const OptionSyntax ParentType{{"parent-type"}, "TIPO", "tipo del padre; sin ella, sale de sus otros vínculos"};

const OptionSyntax Dedup{{"dedup"},
                         {},
                         "si ya hay un documento con el mismo contenido, lo vincula en lugar de guardarlo otra vez"};

void runInit(Context& context, const Arguments&) {
    context.sessionCreating().createSchema();
    context.out << "Base de datos lista: " << context.databaseUrl() << Qt::endl;
}

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

const OptionSyntax Parents{{"parents"}, "CLAVES", "solo los documentos de esos padres, separados por comas"};
const OptionSyntax TypeFilter{{"type"}, "TIPO", "solo los documentos de ese tipo"};
const OptionSyntax NoSysLinks{{"no-sys"}, {}, "con --parents, por sus vínculos que no son del sistema"};

QStringList parentsAsked(const Arguments& arguments) {
    return arguments.value(QStringLiteral("parents")).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void runList(Context& context, const Arguments& arguments) {
    ListQuery query;
    query.parents = parentsAsked(arguments);
    if (arguments.isSet(QStringLiteral("parents-from")))
        query.parents << keysInFile(arguments.value(QStringLiteral("parents-from")));
    query.type = arguments.value(QStringLiteral("type"));
    query.noSys = arguments.isSet(QStringLiteral("no-sys"));
    query.everyLink = arguments.isSet(QStringLiteral("all"));
    const DocumentListing listing = context.session().list(query);
    context.out.flush();
    const auto write = arguments.isSet(QStringLiteral("json")) ? writeJson : writeTable;
    write(listing, writeBytesToStandardOutput);
}

// The option's value, a count above zero, or otherwise when it was not given.
int countAsked(const Arguments& arguments, const QString& option, int otherwise) {
    if (!arguments.isSet(option)) return otherwise;
    bool isNumber = false;
    const int count = arguments.value(option).toInt(&isNumber);
    if (!isNumber || count <= 0)
        throw UsageError{QStringLiteral("la opción --%1 necesita un número mayor que cero, no «%2»")
                             .arg(option, arguments.value(option))};
    return count;
}

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

int runVerify(Context& context, const Arguments& arguments) {
    const QStringList guids = arguments.positionals();
    context.session().requireDigests();
    if (arguments.isSet(QStringLiteral("backfill"))) {
        backfillDigests(context.session(), context.out, guids);
        return 0;
    }
    return verifyContents(context.session(), context.out, guids) ? 0 : 1;
}

void runReindex(Context& context, const Arguments&) {
    rebuildWordIndex(context.session().connection());
    context.out << "Índice de palabras rehecho en " << context.shownDatabaseName() << Qt::endl;
}

void runDuplicates(Context& context, const Arguments& arguments) {
    context.session().requireDigests();
    if (arguments.isSet(QStringLiteral("json"))) {
        context.out << duplicatesJson(context.session());
    } else {
        context.out << duplicatesText(context.session());
    }
}

// The content goes from the database straight to its destination, with no copy on the way.
void runGet(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    const QString target = arguments.value(QStringLiteral("o"));
    if (arguments.isSet(QStringLiteral("o")) && target.isEmpty())
        throw UsageError{
            QStringLiteral("la opción -o necesita el nombre de un archivo; sin ella, get escribe en la "
                           "salida estándar")};
    Session& session = context.session();
    const DocumentRef document = session.requireDocument(guid);
    if (document.outside) {
        context.out << document.location << Qt::endl;
        if (!target.isEmpty()) QTextStream(stderr) << "Es un documento externo: no se escribió " << target << Qt::endl;
        return;
    }
    const ContentWriter copy = [&](QIODevice& to, const QString& name) { session.copyContent(guid, to, name); };
    if (target.isEmpty()) {
        context.out.flush();
        writeToStandardOutput(copy);
    } else {
        if (const QString url = context.databaseUrl(); url.startsWith(QLatin1String("sqlite:")))
            refuseDatabaseFile(target, url.mid(7));
        writeToFile(target, copy);
    }
}

// Handing a picture to the desktop needs one; without a display nothing would open.
void openDocument(Context& context, const Arguments& arguments, bool saveAs) {
    const QString guid = arguments.positional(0);
    if (!saveAs) requireDesktop(QStringLiteral("dorvanel get %1 -o ARCHIVO, o dorvanel download %1").arg(guid));
    // A download page shows as a window where someone sees it; otherwise its path is printed.
    context.session().setWatched(windowsAreSeen());
    if (!context.session().open(guid, saveAs))
        context.out << "Documento " << guid << " entregado al escritorio para abrirlo" << Qt::endl;
}

void runRemove(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    context.session().remove(guid);
    context.out << "Documento eliminado: " << guid << Qt::endl;
}

const OptionSyntax Screenshot{{"screenshot"},
                              "ARCHIVO",
                              "escribe una imagen PNG del diálogo en ARCHIVO y lo cierra sin aceptarlo"};

// Shows a dialog through show, which tells whether the user accepted it: with --screenshot,
// photographed and closed; otherwise watched, and so are the message boxes it shows.
int runDialogAsAsked(Context& context, const Arguments& arguments, const std::function<bool()>& show) {
    const QString screenshot = arguments.value(QStringLiteral("screenshot"));
    context.session().setWatched(screenshot.isEmpty());
    return runDialog(show, screenshot);
}

int runAdd(Context& context, const Arguments& arguments) {
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
    constexpr qsizetype MostOnSqlite = 998;
    if (count > MostOnSqlite && context.session().connection().engine() == Connection::Engine::Sqlite)
        throw UsageError{QStringLiteral("en SQLite el diálogo toma como mucho %1 padres, no %2 (la consulta del "
                                        "componente los une en una sola expresión); list --parents-from no tiene "
                                        "ese límite")
                             .arg(MostOnSqlite)
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
    return runDialogAsAsked(context, arguments, [&] {
        context.session().browse(parents, info, arguments.value(QStringLiteral("parent-type")));
        return true;
    });
}

// The first record is the one selected, so its browse dialog is the one photographed. The
// dialogs' help buttons open the demo's own pages.
void runDemo(Context& context, const Arguments& arguments) {
    DemoServices::registerForDemo();
    const QString screenshot = arguments.value(QStringLiteral("screenshot"));
    std::optional<DemoWindow> window;
    const auto makeWindow = [&]() -> QWidget& {
        Session& session = context.sessionCreating();
        provideSampleDocuments(session);
        session.setWatched(screenshot.isEmpty());
        return window.emplace(session, context.databaseUrl());
    };
    runWindow(
        makeWindow, [&] { window->browseSelected(); }, screenshot);
}

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
    const ImportCounts counts = importFolder(context.session(), context.out, request);
    if (counts.failed > 0)
        throw Failure{Failed, QStringLiteral("import: %1 archivo(s) no se pudieron guardar; se dice arriba por qué")
                                  .arg(counts.failed)};
}

// Without a database named, the tour runs on one of its own that it removes at the end, so that
// trying it leaves the user's documents as they were.
void runTourCommand(Context& context, const Arguments&) {
    if (context.databaseNamed()) return runTour(context.sessionCreating(), context.out, context.databaseUrl(), false);
    const QTemporaryDir folder;
    if (!folder.isValid())
        throw Failure{Failed, QStringLiteral("No se pudo crear una carpeta temporal para el recorrido: %1")
                                  .arg(folder.errorString())};
    const QString url = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("recorrido.sqlite"));
    Session session(url, context.out, MissingDatabase::Created);
    runTour(session, context.out, url, true);
}

void runHelp(Context& context, const Arguments& arguments) {
    const QString topic = arguments.positional(0);
    context.out << (topic.isEmpty() ? generalHelp(syntaxes()) : commandHelp(commandNamed(topic).syntax));
}

// Every command with its syntax, from which both the parsing and the help texts come.
const QList<Command>& commands() {
    static const QList<Command> table{
        {{"init", "crea las tablas y vistas (no hace nada si ya existen)"}, exitingZero(runInit)},
        {{"store",
          "guarda un archivo y escribe su clave en la última línea",
          {"ARCHIVO"},
          {{{"name"}, "NOMBRE", "nombre del documento", Presence::Required},
           {{"description"}, "TEXTO", "descripción del documento"},
           {{"keywords"}, "PALABRAS", "palabras clave del documento"},
           {{"type"}, "TIPO", "tipo del documento; sin ella, la extensión del archivo"},
           {{"url"}, {}, "ARCHIVO es una dirección externa, no un archivo"},
           {{"parent"}, "CLAVE", "vincula el documento a ese padre", Presence::Repeatable},
           ParentType,
           Dedup}},
         exitingZero(runStore)},
        {{"link",
          "vincula el documento CLAVE al padre",
          {"PADRE", "CLAVE"},
          {ParentType, {{"no-sys"}, {}, "el vínculo no es del sistema"}}},
         exitingZero(runLink)},
        {{"unlink", "quita el vínculo del documento CLAVE con el padre", {"PADRE", "CLAVE"}}, exitingZero(runUnlink)},
        {{"parents", "muestra los padres del documento, uno por línea", {"CLAVE"}}, exitingZero(runParents)},
        {{"list",
          "lista cada documento una vez, como tabla o como JSON",
          {},
          {Parents,
           {{"parents-from"}, "ARCHIVO", "añade las claves de padre de ARCHIVO, una por línea"},
           TypeFilter,
           NoSysLinks,
           {{"all"}, {}, "solo los documentos que tienen algún vínculo"},
           {{"json"}, {}, "como arreglo JSON en lugar de tabla"}}},
         exitingZero(runList)},
        {{"search",
          "busca documentos por palabras de su nombre, descripción o palabras clave, los mejores primero",
          {"PALABRA..."},
          {Parents,
           TypeFilter,
           {{"limit"}, "N", "como mucho N documentos (50 si no se indica)"},
           {{"json"}, {}, "como arreglo JSON en lugar de tabla"}},
          {},
          true},
         exitingZero(runSearch)},
        {{"reindex", "rehace el índice de palabras con lo que guarda la base de datos"}, exitingZero(runReindex)},
        {{"verify",
          "comprueba que el contenido de cada documento (o de los indicados) sigue igual; sale con 1 si alguno cambió",
          {},
          {{{"backfill"}, {}, "calcula los resúmenes de los documentos que no lo tienen"}},
          {"CLAVE..."},
          true},
         runVerify},
        {{"duplicates",
          "lista los grupos de documentos con el mismo contenido y el espacio que ocupan",
          {},
          {{{"json"}, {}, "como arreglo JSON en lugar de texto"}}},
         exitingZero(runDuplicates)},
        {{"get",
          "escribe el contenido o, si es externo, su dirección",
          {"CLAVE"},
          {{{"o"}, "ARCHIVO", "escribe en ARCHIVO y no en la salida estándar"}}},
         exitingZero(runGet)},
        {{"open", "abre una imagen en el escritorio; lo demás, como download (necesita pantalla)", {"CLAVE"}},
         exitingZero([](Context& context, const Arguments& arguments) { openDocument(context, arguments, false); }),
         Shows::Windows},
        {{"download", "ofrece el documento en una página de descarga", {"CLAVE"}},
         exitingZero([](Context& context, const Arguments& arguments) { openDocument(context, arguments, true); }),
         Shows::Windows},
        {{"add",
          "muestra el diálogo para adjuntar un documento a los padres; sale con 0 si se guardó y vinculó",
          {"PADRES"},
          {ParentType, Screenshot},
          {"ARCHIVO"}},
         runAdd,
         Shows::Windows},
        {{"edit", "muestra el diálogo de edición del documento; sale con 0 si se guardó", {"CLAVE"}, {Screenshot}},
         runEdit,
         Shows::Windows},
        {{"find",
          "muestra el diálogo de búsqueda y escribe la clave del documento elegido; sale con 1 si se canceló",
          {},
          {Parents,
           TypeFilter,
           NoSysLinks,
           {{"miniatures"}, {}, "al elegir un documento muestra su miniatura"},
           Screenshot}},
         runFind,
         Shows::Windows},
        {{"browse",
          "muestra el diálogo que explora los documentos vinculados a los padres",
          {"PADRES"},
          {{{"info"}, "TEXTO", "lo que sigue al título del diálogo; sin ella, PADRES"}, ParentType, Screenshot}},
         runBrowse,
         Shows::Windows},
        {{"rm", "quita los vínculos del documento y lo elimina", {"CLAVE"}}, exitingZero(runRemove)},
        {{"import",
          "guarda cada archivo de la carpeta y lo vincula al padre; dice cuáles no guardó y por qué",
          {"CARPETA"},
          {{{"parent"}, "CLAVE", "padre de cada archivo", Presence::Required},
           ParentType,
           {{"recursive"}, {}, "entra también en las subcarpetas"},
           {{"hidden"}, {}, "guarda también los archivos ocultos (los que empiezan por punto)"},
           {{"again"}, {}, "guarda otra vez los ya importados de la misma ruta, tamaño y fecha"},
           {{"follow-links"}, {}, "sigue también los enlaces que llevan fuera de la carpeta"},
           Dedup}},
         exitingZero(runImport)},
        {{"demo",
          "abre una pequeña aplicación anfitriona con registros y documentos de ejemplo",
          {},
          {{{"screenshot"},
            "ARCHIVO",
            "escribe una imagen PNG de la ventana con los documentos del primer registro abiertos, y termina"}}},
         exitingZero(runDemo),
         Shows::Windows},
        {{"tour", "recorrido guiado con documentos de ejemplo, en una base temporal salvo que se indique --db"},
         exitingZero(runTourCommand)},
        {{HelpCommand, "muestra la ayuda general, o la de ORDEN", {}, {}, {"ORDEN"}}, exitingZero(runHelp)},
    };
    return table;
}

}  // namespace

bool showsWindows(const Invocation& invocation) {
    for (const Command& command : commands())
        if (command.syntax.name == invocation.command) return command.shows == Shows::Windows;
    return false;
}

int runCommand(const Invocation& invocation) {
    QTextStream out(stdout);
    if (invocation.versionWanted) {
        out << versionLine();
        return 0;
    }
    if (invocation.command.isEmpty()) {
        QTextStream(stderr) << generalHelp(syntaxes());
        return WrongUsage;
    }
    const Command& command = commandNamed(invocation.command);
    const Arguments arguments(command.syntax, invocation.arguments);
    Context context(invocation.databaseUrl, out);
    if (arguments.helpWanted()) {
        out << commandHelp(command.syntax);
        return 0;
    }
    try {
        return command.run(context, arguments);
    } catch (const Error& error) {
        throw failureOf(error, context.shownDatabaseName());
    }
}

}  // namespace dorvanel::cli
