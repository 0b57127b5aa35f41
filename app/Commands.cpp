#include "Commands.h"

#include "Context.h"
#include "Failure.h"
#include "Texts.h"
#include "Usage.h"

#include <Dorvanel/Error.h>

#include <QTextStream>

namespace dorvanel::cli {

namespace {

// Every command, in the order the general help lists them.
const QList<Command>& commands() {
    static const QList<Command> table{
        initCommand(),    storeCommand(),      linkCommand(),   unlinkCommand(),   parentsCommand(),    listCommand(),
        searchCommand(),  reindexCommand(),    verifyCommand(), auditCommand(),    duplicatesCommand(), getCommand(),
        replaceCommand(), versionsCommand(),   openCommand(),   downloadCommand(), addCommand(),        editCommand(),
        findCommand(),    browseCommand(),     removeCommand(), trashCommand(),    restoreCommand(),    purgeCommand(),
        importCommand(),  miniaturesCommand(), demoCommand(),   tourCommand(),     helpCommand(),
    };
    return table;
}

}  // namespace

Handler exitingZero(void (*run)(Context&, const Arguments&)) {
    return [run](Context& context, const Arguments& arguments) {
        run(context, arguments);
        return 0;
    };
}

const Command& commandNamed(const QString& name) {
    for (const Command& command : commands())
        if (command.syntax.name == name) return command;
    throw UsageError{Texts::tr("orden desconocida: %1").arg(name)};
}

QList<CommandSyntax> commandSyntaxes() {
    QList<CommandSyntax> all;
    for (const Command& command : commands()) all << command.syntax;
    return all;
}

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
        QTextStream(stderr) << generalHelp(commandSyntaxes());
        return WrongUsage;
    }
    const Command& command = commandNamed(invocation.command);
    const Arguments arguments(command.syntax, invocation.arguments);
    Context context(invocation.databaseUrl, invocation.userName, out);
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
