#pragma once

#include "CommandLine.h"

#include <functional>

namespace dorvanel::cli {

class Context;

// Runs a command and gives its exit status. A command that tells its result through the status
// gives 0 when the user accepted or saved and 1 when not; the others give 0.
using Handler = std::function<int(Context&, const Arguments&)>;

// A command whose result is its output: a failure is raised, and anything else exits 0.
Handler exitingZero(void (*run)(Context&, const Arguments&));

// What a command shows: the ones that show nothing run without a GUI application, so that they
// need no display and Qt's platform is never loaded.
enum class Shows { Nothing, Windows };

// A command's syntax, from which both the parsing and the help texts come, and what runs it.
struct Command {
    CommandSyntax syntax;
    Handler run;
    Shows shows = Shows::Nothing;
};

// Each command, declared by the file named after it.
Command initCommand();
Command storeCommand();
Command linkCommand();  // LinkCommands.cpp, with unlink and parents
Command unlinkCommand();
Command parentsCommand();
Command listCommand();
Command searchCommand();  // SearchCommands.cpp, with reindex
Command reindexCommand();
Command verifyCommand();
Command auditCommand();
Command duplicatesCommand();
Command getCommand();
Command replaceCommand();  // VersionCommands.cpp, with versions
Command versionsCommand();
Command openCommand();  // OpenCommands.cpp, with download
Command downloadCommand();
Command addCommand();  // DialogCommands.cpp, with edit, find and browse
Command editCommand();
Command findCommand();
Command browseCommand();
Command removeCommand();
Command trashCommand();  // TrashCommands.cpp, with purge
Command purgeCommand();
Command restoreCommand();
Command importCommand();
Command miniaturesCommand();
Command demoCommand();
Command tourCommand();
Command helpCommand();

}  // namespace dorvanel::cli
