#pragma once

#include "CommandLine.h"

namespace dorvanel::cli {

// Runs the command and gives the exit status. A failure is raised: UsageError for a command
// line that cannot run, Error for anything else.
int runCommand(const Invocation& invocation);

}  // namespace dorvanel::cli
