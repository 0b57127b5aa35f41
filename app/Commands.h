#pragma once

#include "Command.h"

#include <QList>

namespace dorvanel::cli {

// The command of that name; a UsageError when there is none.
const Command& commandNamed(const QString& name);

// Every command's syntax, in the order the general help lists them.
QList<CommandSyntax> commandSyntaxes();

// Whether the command shows windows, and so needs a GUI application; the others run without one.
bool showsWindows(const Invocation& invocation);

// Runs the command and gives the exit status. A failure is raised: UsageError for a command
// line that cannot run, Failure for anything else.
int runCommand(const Invocation& invocation);

}  // namespace dorvanel::cli
