#pragma once

#include <QString>

namespace dorvanel::ComponentFile {

// The folder that holds the component's library file, without a trailing separator.
QString Folder();
// The library file's name without the platform's "lib" prefix and its extension: "Dorvanel".
QString BaseName();
// The project's version numbers; the patch number plays the revision.
qint16 Major();
qint16 Minor();
qint16 Revision();

// Where the component writes its temporary files: its own folder when that can be written,
// otherwise one fixed folder per user.
QString TempFolder();

}  // namespace dorvanel::ComponentFile
