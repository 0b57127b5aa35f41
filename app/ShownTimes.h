#pragma once

#include <QDateTime>
#include <QString>

namespace dorvanel::cli {

// A time as the commands show it, in the local zone with its offset from UTC, as the listing's
// times are: "2026-12-07T00:31:02.118+01:00" (never "Z").
QString shownTime(const QDateTime& at);

}  // namespace dorvanel::cli
