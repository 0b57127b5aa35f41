#pragma once

#include <QString>

namespace dorvanel::cli {

// Raises a Failure (wrong usage) when target is one of the files of the SQLite database at
// databasePath: the database itself or its -journal, -wal or -shm. Files are compared by what
// they are, so another name for one (a relative path, a link, a hard link) is refused too; a
// target not there yet is one of them when it would be made under that name in that folder.
// Writing there would replace the database in use.
void refuseDatabaseFile(const QString& target, const QString& databasePath);

}  // namespace dorvanel::cli
