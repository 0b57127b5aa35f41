#pragma once

#include <QString>

namespace dorvanel {
class Error;
}

namespace dorvanel::cli {

// How the program ends, one status for each kind of failure a user or a script acts on
// differently. The help text and the README list them.
enum ExitStatus : int {
    Succeeded = 0,
    Failed = 1,               // anything else; a dialog closed without accepting or saving
    WrongUsage = 2,           // the command line cannot run as written
    DatabaseBusy = 3,         // another process held the database past the wait: try again
    NotFound = 4,             // no such document, link, file or folder
    DatabaseUnavailable = 5,  // the database cannot be opened or its server reached
    NoRoom = 6,               // a full disk, or a document larger than the database takes
};

// A failure as the program reports it: what happened, in words a user can act on, and the
// status it ends with.
struct Failure {
    ExitStatus status;
    QString message;
};

// What error says, told by its causes (the engine's and the system's names: SQLITE_BUSY,
// SQLSTATE 53100, ENOSPC), else its number. database names the database the command worked on,
// for the failures that are the database's.
Failure failureOf(const Error& error, const QString& database);

// The database an URL names, as a message shows it: without a password.
QString shownDatabase(const QString& url);

}  // namespace dorvanel::cli
