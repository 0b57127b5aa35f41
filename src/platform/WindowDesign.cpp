#include "platform/WindowDesign.h"

#include "platform/Twips.h"

#include <QWidget>

namespace dorvanel {

namespace {

bool isDesigned(const QWidget& widget) {
    return !widget.objectName().isEmpty() && !widget.objectName().startsWith(QLatin1String("qt_"));
}

// Edges rather than sizes are rounded, so that controls that meet or stand apart at the
// design's resolution do so at every other.
QRect scaled(const QRect& g, double x, double y) {
    const int left = qRound(g.x() * x);
    const int top = qRound(g.y() * y);
    return {left, top, qRound((g.x() + g.width()) * x) - left, qRound((g.y() + g.height()) * y) - top};
}

}  // namespace

QRect designPixels(const QRect& twips) {
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
            twipsToPixels(twips.height())};
}

void scaleDesignToScreen(QWidget& window, QSize clientTwips) {
    window.setFixedSize(twipsToPixels(clientTwips.width(), window.logicalDpiX()),
                        twipsToPixels(clientTwips.height(), window.logicalDpiY()));
    const double x = window.logicalDpiX() / double(DesignDpi);
    const double y = window.logicalDpiY() / double(DesignDpi);
    if (x == 1.0 && y == 1.0) return;
    for (auto* child : window.findChildren<QWidget*>()) {
        if (!isDesigned(*child)) continue;
        child->setGeometry(scaled(child->geometry(), x, y));
    }
}

}  // namespace dorvanel
