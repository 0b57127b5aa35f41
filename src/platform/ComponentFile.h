#pragma once

#include <QString>

namespace dorvanel::ComponentFile {

// The path of the component's library file, as it was loaded; empty when it cannot be told.
// Defined by the shipped library (ComponentLocation.cpp) and by the internal library that the
// tests link (ComponentStandIn.cpp), which names the shipped library's file instead of the
// program it is linked into.
QString libraryPath();

// The folder that holds the component's library file, without a trailing separator.
QString folder();
// The library file's name without the platform's "lib" prefix and its extension: "Dorvanel".
QString baseName();
// The project's version numbers; the patch number plays the revision.
qint16 versionMajor();
qint16 versionMinor();
qint16 versionRevision();

// Where the component writes its temporary files: its own folder when that can be written,
// otherwise one fixed folder per user.
QString tempFolder();

}  // namespace dorvanel::ComponentFile
