#include "platform/WindowDesign.h"

#include "platform/Twips.h"

#include <QWidget>

namespace dorvanel {

namespace {

bool isDesigned(const QWidget& widget) {
    return !widget.objectName().isEmpty() && !widget.objectName().startsWith(QLatin1String("qt_"));
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
        const QRect g = child->geometry();
        child->setGeometry(qRound(g.x() * x), qRound(g.y() * y), qRound(g.width() * x), qRound(g.height() * y));
    }
}

}  // namespace dorvanel
