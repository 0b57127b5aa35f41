#pragma once

#include <QString>

class QWidget;

namespace dorvanel {

// Copies the file source to target a chunk at a time, so that memory stays flat whatever its
// size, while window and the rest of the program keep responding. When the copy takes long a
// progress window shows over window, whose "Cancelar" stops it. target appears, replacing an
// older file, only once the copy is complete: a cancelled or failed copy leaves no partial
// file, and an older one whole. True when copied, false when cancelled; a failure raises Error.
bool CopyFileWithProgress(const QString& source, const QString& target, QWidget* window);

}  // namespace dorvanel
