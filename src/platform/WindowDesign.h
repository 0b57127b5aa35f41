#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

namespace dorvanel {

// How the component's windows are made from their designs, one way for all of them: the
// dialogs and the download page alike.

// A fixed-size tool window, which keeps it out of the task bar, whose title bar holds only its
// close box. A window without an owner is centred on the screen when it shows.
inline constexpr Qt::WindowFlags FixedWindowFlags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                    Qt::WindowCloseButtonHint;

// A design's rectangle in twips, in pixels at the design's resolution, as the forms hold them.
QRect designPixels(const QRect& twips);

// Fixes the window's client area to the design's size in twips at the window's resolution, and
// scales the designed controls, laid out in pixels at the design's resolution, to it. The
// designed controls are the named ones, inside their panels too; not the parts Qt's own widgets
// are made of.
void scaleDesignToScreen(QWidget& window, QSize clientTwips);

}  // namespace dorvanel
