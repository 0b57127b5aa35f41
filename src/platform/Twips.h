#pragma once

#include <QtGlobal>

namespace dorvanel {

// Sizes and positions of the component's windows and pictures are designed in twips: 1440 to
// an inch, so 15 to a pixel at the 96 dpi the designs assume.
inline constexpr int TwipsPerInch = 1440;
inline constexpr int DesignDpi = 96;
inline constexpr int TwipsPerDesignPixel = TwipsPerInch / DesignDpi;

inline int twipsToPixels(double twips, int dpi = DesignDpi) { return qRound(twips * dpi / TwipsPerInch); }

}  // namespace dorvanel
