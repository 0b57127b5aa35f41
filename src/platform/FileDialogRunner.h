#pragma once

#include <functional>

class QFileDialog;

namespace dorvanel {

// Runs a file dialog modally and returns its QDialog::DialogCode. Every file dialog of the
// component, open and save alike, is run through here, so that a test can answer it.
int RunFileDialog(QFileDialog& dialog);

// Replaces how file dialogs are run; an empty function restores exec(). Returns the one it
// replaces.
using FileDialogRunner = std::function<int(QFileDialog& dialog)>;
FileDialogRunner SetFileDialogRunner(FileDialogRunner runner);

}  // namespace dorvanel
