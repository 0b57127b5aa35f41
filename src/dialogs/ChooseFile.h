#pragma once

#include <QString>

namespace dorvanel {

class CommonDialog;

// Asks for a file through the open dialog, with the given filter; returns its full path, or
// "" when the user cancelled or anything failed. The dialog's file name is emptied first, so
// an earlier choice never comes back from a cancelled one.
QString ChooseFile(const QString& Filter, CommonDialog& Dialog);

}  // namespace dorvanel
