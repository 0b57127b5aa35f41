#pragma once

#include <QString>

namespace dorvanel {

class Manager;

// The work files the component writes under fixed names ("temp." plus a type code, "Temp.bmp")
// or for a drag, each remembered for the Manager that was live (gManager) when it was written,
// so that the Manager's end removes them, in the order they were made (a folder after the files
// in it). A file is removed only while it is still the one the component wrote there: one that
// another process has written since under the same name is left alone.
namespace WorkFiles {

// Remembers the file, or folder, just made at path.
void Made(const QString& path);
// Forgets the file without removing it: it was handed to another program (the desktop's viewer
// of a picture), which may still be reading it after the Manager ends.
void HandedOver(const QString& path);
// Removes the file at path now, whoever wrote it, and forgets it.
void Remove(const QString& path);
// Removes every file the Manager made that is still the one it wrote, and forgets them all.
void RemoveMadeBy(const Manager* maker);

}  // namespace WorkFiles

}  // namespace dorvanel
