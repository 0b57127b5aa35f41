#include "ShownTimes.h"

namespace dorvanel::cli {

QString shownTime(const QDateTime& at) {
    const QDateTime local = at.toLocalTime();
    const int minutes = local.offsetFromUtc() / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + (minutes < 0 ? u'-' : u'+') +
           QStringLiteral("%1:%2")
               .arg(qAbs(minutes) / 60, 2, 10, QLatin1Char('0'))
               .arg(qAbs(minutes) % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace dorvanel::cli
