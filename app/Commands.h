#pragma once

#include "CommandLine.h"

namespace dorvanel::cli {

// Whether the command shows windows, and so needs a GUI application; the others run without one.
bool showsWindows(const Invocation& invocation);

// Runs the command and gives the exit status. A failure is raised: UsageError for a command
// line that cannot run, Failure for anything else.
int runCommand(const Invocation& invocation);

}  // namespace dorvanel::cli
