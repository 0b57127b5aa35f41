#include "Commands.h"

#include "ContentCopy.h"
#include "DemoWindow.h"
#include "Dialogs.h"
#include "DocumentListing.h"
#include "Import.h"
#include "SampleDocuments.h"
#include "Session.h"
#include "Tour.h"
#include "Usage.h"

#include <Dorvanel/Error.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
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

    QTextStream& out;

private:
    Session& open(MissingDatabase missing) {
        // SQLite would take it for a temporary database, gone when the command ends.
        if (databaseUrl() == QLatin1String("sqlite:"))
            throw UsageError{QStringLiteral("la dirección sqlite: necesita la ruta del archivo (sqlite:RUTA)")};
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

struct Command {
    CommandSyntax syntax;
    Handler run;
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
    context.out << context.session().store(request, arguments.values(QStringLiteral("parent")),
                                           arguments.value(QStringLiteral("parent-type")))
                << Qt::endl;
}

void runLink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    context.session().link(parent, guid, arguments.value(QStringLiteral("parent-type")),
                           !arguments.isSet(QStringLiteral("no-sys")));
    context.out << "Documento " << guid << " vinculado a " << parent << Qt::endl;
}

void runUnlink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    if (!context.session().unlink(parent, guid))
        throw Error(Error::NoCurrentRecord,
                    QStringLiteral("El documento %1 no está vinculado a %2: no se quitó nada").arg(guid, parent));
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

// The keys of a file, one a line; blank lines are skipped. A file without any is refused, as
// listing no parents would list every document.
QStringList keysInFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::FileFailed, QStringLiteral("No se pudo leer %1: %2").arg(path, file.errorString()));
    QStringList keys;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (const QByteArray key = line.trimmed(); !key.isEmpty()) keys << QString::fromUtf8(key);
    if (keys.isEmpty()) throw Error(Error::InvalidArgument, QStringLiteral("%1 no tiene ninguna clave").arg(path));
    return keys;
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
    write(listing, writeToStandardOutput);
}

void runGet(Context& context, const Arguments& arguments) {
    const FetchedDocument document = context.session().fetch(arguments.positional(0));
    const QString target = arguments.value(QStringLiteral("o"));
    if (document.outside()) {
        context.out << document.path() << Qt::endl;
        if (!target.isEmpty()) QTextStream(stderr) << "Es un documento externo: no se escribió " << target << Qt::endl;
    } else if (target.isEmpty()) {
        context.out.flush();
        copyToStandardOutput(document.path());
    } else {
        copyToFile(document.path(), target);
    }
}

void openDocument(Context& context, const Arguments& arguments, bool saveAs) {
    const QString guid = arguments.positional(0);
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

int runFind(Context& context, const Arguments& arguments) {
    FindQuery query;
    query.parents = parentsAsked(arguments);
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
    const QString info = arguments.isSet(QStringLiteral("info")) ? arguments.value(QStringLiteral("info")) : parents;
    return runDialogAsAsked(context, arguments, [&] {
        context.session().browse(parents, info, arguments.value(QStringLiteral("parent-type")));
        return true;
    });
}

// The first record is the one selected, so its browse dialog is the one photographed.
void runDemo(Context& context, const Arguments& arguments) {
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
    importFolder(context.session(), context.out, arguments.positional(0), arguments.value(QStringLiteral("parent")),
                 arguments.value(QStringLiteral("parent-type")));
}

void runTourCommand(Context& context, const Arguments&) {
    runTour(context.sessionCreating(), context.out, context.databaseUrl());
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
           ParentType}},
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
        {{"get",
          "escribe el contenido o, si es externo, su dirección",
          {"CLAVE"},
          {{{"o"}, "ARCHIVO", "escribe en ARCHIVO y no en la salida estándar"}}},
         exitingZero(runGet)},
        {{"open", "abre una imagen en el escritorio; lo demás, como download", {"CLAVE"}},
         exitingZero([](Context& context, const Arguments& arguments) { openDocument(context, arguments, false); })},
        {{"download", "ofrece el documento en una página de descarga", {"CLAVE"}},
         exitingZero([](Context& context, const Arguments& arguments) { openDocument(context, arguments, true); })},
        {{"add",
          "muestra el diálogo para adjuntar un documento a los padres; sale con 0 si se guardó y vinculó",
          {"PADRES"},
          {ParentType, Screenshot},
          {"ARCHIVO"}},
         runAdd},
        {{"edit", "muestra el diálogo de edición del documento; sale con 0 si se guardó", {"CLAVE"}, {Screenshot}},
         runEdit},
        {{"find",
          "muestra el diálogo de búsqueda y escribe la clave del documento elegido; sale con 1 si se canceló",
          {},
          {Parents,
           TypeFilter,
           NoSysLinks,
           {{"miniatures"}, {}, "al elegir un documento muestra su miniatura"},
           Screenshot}},
         runFind},
        {{"browse",
          "muestra el diálogo que explora los documentos vinculados a los padres",
          {"PADRES"},
          {{{"info"}, "TEXTO", "lo que sigue al título del diálogo; sin ella, PADRES"}, ParentType, Screenshot}},
         runBrowse},
        {{"rm", "quita los vínculos del documento y lo elimina", {"CLAVE"}}, exitingZero(runRemove)},
        {{"import",
          "guarda cada archivo de la carpeta y lo vincula al padre",
          {"CARPETA"},
          {{{"parent"}, "CLAVE", "padre de cada archivo", Presence::Required}, ParentType}},
         exitingZero(runImport)},
        {{"demo",
          "abre una pequeña aplicación anfitriona con registros y documentos de ejemplo",
          {},
          {{{"screenshot"},
            "ARCHIVO",
            "escribe una imagen PNG de la ventana con los documentos del primer registro abiertos, y termina"}}},
         exitingZero(runDemo)},
        {{"tour", "recorrido guiado con documentos de ejemplo"}, exitingZero(runTourCommand)},
        {{HelpCommand, "muestra la ayuda general, o la de ORDEN", {}, {}, {"ORDEN"}}, exitingZero(runHelp)},
    };
    return table;
}

}  // namespace

int runCommand(const Invocation& invocation) {
    QTextStream out(stdout);
    if (invocation.versionWanted) {
        out << versionLine();
        return 0;
    }
    if (invocation.command.isEmpty()) {
        QTextStream(stderr) << generalHelp(syntaxes());
        return 2;
    }
    const Command& command = commandNamed(invocation.command);
    const Arguments arguments(command.syntax, invocation.arguments);
    Context context(invocation.databaseUrl, out);
    if (!arguments.helpWanted()) return command.run(context, arguments);
    out << commandHelp(command.syntax);
    return 0;
}

}  // namespace dorvanel::cli
