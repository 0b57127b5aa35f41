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
    return {{HelpCommand, "muestra la ayuda general, o la de ORDEN", {}, {}, {"ORDEN"}}, exitingZero(runHelp)};
}

}  // namespace dorvanel::cli
