#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace dorvanel::cli {

// Opening with the desktop's handler needs a GUI application, which needs a platform even in
// a terminal without a display: without one, and without a platform the user chose, Qt draws
// off screen. To be called before the application is made.
void drawOffscreenWithoutDisplay();

// Whether a window shown now would be seen: there is a display, and the platform draws on it.
bool windowsAreSeen();

// Opening a document with the desktop's handler needs a desktop to show it: without a display,
// or on a platform that draws off screen, this raises Failure and says what to do instead.
void requireDesktop(const QString& instead);

// Shows a dialog of the component through show, which tells whether the user accepted it,
// and gives the exit status: 0 when accepted or saved, 1 when not. With a screenshot file the
// dialog is written there as a PNG once it is painted, then closed as its Cancel would. A
// dialog nobody could see is not shown: without a display, or on the off-screen platform
// without a screenshot, this raises Failure.
int runDialog(const std::function<bool()>& show, const QString& screenshotFile);

// Shows the host window makeWindow makes until the user closes it. With a screenshot file,
// opens a dialog over it through openDialog instead and writes the window with the dialog over
// it as one PNG once the dialog is painted, closes the dialog as its Cancel would, and returns.
// A window nobody could see is refused as runDialog refuses a dialog, before it is made.
void runWindow(const std::function<QWidget&()>& makeWindow, const std::function<void()>& openDialog,
               const QString& screenshotFile);

}  // namespace dorvanel::cli
