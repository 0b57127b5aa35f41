#pragma once

#include <QString>

namespace dorvanel {

// The text of the page that offers sF for download. Markup characters in sF are escaped so
// that it can only be the link's target, and a location whose scheme runs code (javascript:,
// vbscript:, data:) is never made a link. An ordinary path is kept as it is.
QString downloadPageText(const QString& sF);

}  // namespace dorvanel
