#include "Commands.h"

#include "ContentCopy.h"
#include "DocumentListing.h"
#include "Import.h"
#include "Session.h"
#include "Tour.h"
#include "Usage.h"
#include <Dorvanel/Error.h>

#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

namespace dorvanel::cli {

namespace {

struct Context {
    Session& session;
    QTextStream& out;
    QString databaseUrl;
};

using Handler = void (*)(Context&, const Arguments&);

struct Command {
    QString name;
    CommandSyntax syntax;
    Handler run;
};

const OptionSyntax ParentType{QStringLiteral("--parent-type"), true};
const OptionSyntax NoSys{QStringLiteral("--no-sys"), false};

void runInit(Context& context, const Arguments&) {
    context.session.createSchema();
    context.out << "Base de datos lista: " << context.databaseUrl << Qt::endl;
}

void runStore(Context& context, const Arguments& arguments) {
    StoreRequest request;
    request.file = arguments.positional(0);
    request.name = arguments.required(QStringLiteral("--name"));
    request.description = arguments.value(QStringLiteral("--description"));
    request.keywords = arguments.value(QStringLiteral("--keywords"));
    request.type = arguments.value(QStringLiteral("--type"));
    request.isUrl = arguments.isSet(QStringLiteral("--url"));
    context.out << context.session.store(request, arguments.values(QStringLiteral("--parent")),
                                         arguments.value(ParentType.name))
                << Qt::endl;
}

void runLink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    context.session.link(parent, guid, arguments.value(ParentType.name), !arguments.isSet(NoSys.name));
    context.out << "Documento " << guid << " vinculado a " << parent << Qt::endl;
}

void runUnlink(Context& context, const Arguments& arguments) {
    const QString parent = arguments.positional(0);
    const QString guid = arguments.positional(1);
    if (!context.session.unlink(parent, guid))
        throw Error(Error::NoCurrentRecord,
                    QStringLiteral("El documento %1 no está vinculado a %2: no se quitó nada").arg(guid, parent));
    context.out << "Vínculo quitado: " << guid << " ya no está vinculado a " << parent << Qt::endl;
}

void runParents(Context& context, const Arguments& arguments) {
    for (const QString& parent : context.session.parents(arguments.positional(0))) context.out << parent << '\n';
}

void runList(Context& context, const Arguments& arguments) {
    ListQuery query;
    query.parents = arguments.value(QStringLiteral("--parents")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    query.type = arguments.value(QStringLiteral("--type"));
    query.noSys = arguments.isSet(NoSys.name);
    query.everyLink = arguments.isSet(QStringLiteral("--all"));
    const DocumentListing listing = context.session.list(query);
    if (arguments.isSet(QStringLiteral("--json"))) {
        context.out << documentJson(listing);
    } else {
        context.out << documentTable(listing);
    }
}

void runGet(Context& context, const Arguments& arguments) {
    const FetchedDocument document = context.session.fetch(arguments.positional(0));
    const QString target = arguments.value(QStringLiteral("-o"));
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
    if (!context.session.open(guid, saveAs))
        context.out << "Documento " << guid << " entregado al escritorio para abrirlo" << Qt::endl;
}

void runRemove(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    context.session.remove(guid);
    context.out << "Documento eliminado: " << guid << Qt::endl;
}

void runImport(Context& context, const Arguments& arguments) {
    importFolder(context.session, context.out, arguments.positional(0),
                 arguments.required(QStringLiteral("--parent")), arguments.value(ParentType.name));
}

void runTourCommand(Context& context, const Arguments&) { runTour(context.session, context.out, context.databaseUrl); }

const QList<Command>& commands() {
    static const QList<Command> table{
        {QStringLiteral("init"), {}, runInit},
        {QStringLiteral("store"),
         {{QStringLiteral("ARCHIVO")},
          {{QStringLiteral("--name"), true},
           {QStringLiteral("--description"), true},
           {QStringLiteral("--keywords"), true},
           {QStringLiteral("--type"), true},
           {QStringLiteral("--url"), false},
           {QStringLiteral("--parent"), true},
           ParentType}},
         runStore},
        {QStringLiteral("link"), {{QStringLiteral("PADRE"), QStringLiteral("CLAVE")}, {ParentType, NoSys}}, runLink},
        {QStringLiteral("unlink"), {{QStringLiteral("PADRE"), QStringLiteral("CLAVE")}, {}}, runUnlink},
        {QStringLiteral("parents"), {{QStringLiteral("CLAVE")}, {}}, runParents},
        {QStringLiteral("list"),
         {{},
          {{QStringLiteral("--parents"), true},
           {QStringLiteral("--type"), true},
           NoSys,
           {QStringLiteral("--all"), false},
           {QStringLiteral("--json"), false}}},
         runList},
        {QStringLiteral("get"), {{QStringLiteral("CLAVE")}, {{QStringLiteral("-o"), true}}}, runGet},
        {QStringLiteral("open"), {{QStringLiteral("CLAVE")}, {}},
         [](Context& context, const Arguments& arguments) { openDocument(context, arguments, false); }},
        {QStringLiteral("download"), {{QStringLiteral("CLAVE")}, {}},
         [](Context& context, const Arguments& arguments) { openDocument(context, arguments, true); }},
        {QStringLiteral("rm"), {{QStringLiteral("CLAVE")}, {}}, runRemove},
        {QStringLiteral("import"), {{QStringLiteral("CARPETA")}, {{QStringLiteral("--parent"), true}, ParentType}},
         runImport},
        {QStringLiteral("tour"), {}, runTourCommand},
    };
    return table;
}

const Command& commandNamed(const QString& name) {
    for (const Command& command : commands())
        if (command.name == name) return command;
    throw UsageError{QStringLiteral("orden desconocida: %1").arg(name)};
}

QString defaultDatabaseUrl() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Dorvanel";
    QDir().mkpath(folder);
    return "sqlite:" + folder + "/dorvanel.sqlite";
}

}  // namespace

int runCommand(const Invocation& invocation) {
    if (invocation.command.isEmpty()) {
        QTextStream(stderr) << UsageText;
        return 2;
    }
    QTextStream out(stdout);
    if (invocation.command == QLatin1String("help")) {
        out << UsageText;
        return 0;
    }
    const Command& command = commandNamed(invocation.command);
    const Arguments arguments = Arguments::parse(command.name, command.syntax, invocation.arguments);
    const QString databaseUrl = invocation.databaseUrl.isEmpty() ? defaultDatabaseUrl() : invocation.databaseUrl;
    Session session(databaseUrl, out);
    Context context{session, out, databaseUrl};
    command.run(context, arguments);
    return 0;
}

}  // namespace dorvanel::cli
