#include "Command.h"
#include "Commands.h"
#include "Context.h"
#include "Usage.h"

namespace dorvanel::cli {

namespace {

void runHelp(Context& context, const Arguments& arguments) {
    const QString topic = arguments.positional(0);
    context.out << (topic.isEmpty() ? generalHelp(commandSyntaxes()) : commandHelp(commandNamed(topic).syntax));
}

}  // namespace

Command helpCommand() {
    return {{HelpCommand,
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "muestra la ayuda general, o la de ORDEN"),
             {},
             {},
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ORDEN")}},
            exitingZero(runHelp)};
}

}  // namespace dorvanel::cli
