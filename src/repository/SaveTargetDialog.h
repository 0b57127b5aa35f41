#pragma once

#include <QString>

class QWidget;

namespace dorvanel {

// Asks through the save dialog (Qt's own, run through RunFileDialog) where to save a file,
// proposing proposedName in the user's download folder, of the name's type; gives the path
// chosen, or "" when the user cancelled.
QString AskSaveTarget(QWidget* parent, const QString& proposedName);

}  // namespace dorvanel
