#pragma once

#include "platform/Connection.h"
#include "repository/Utf8Texts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

namespace dorvanel {

// Stored times as ISO 8601 with their offset from UTC: "2026-12-06T02:58:56.257+01:00".
class IsoTimes {
public:
    // Adds the stored time to texts in that form. A time that carries its offset (or "Z") keeps
    // it. One without is taken as local time here, which is what the component writes on SQLite
    // (strftime with 'localtime'). Any other text is added as it is.
    QByteArrayView addWithOffset(QByteArrayView stored, Utf8Texts& texts);
    // The same for one time.
    QString withOffset(const QString& stored);

    // What a statement selects to read a stored time column. On SQLite that is the text the
    // component wrote, local time of the machine that wrote it. On PostgreSQL it is local time
    // of the session's zone, which only the server knows: it gives the time with that offset.
    static QString column(Connection::Engine engine, const QString& column);
    // The time now, with this machine's offset.
    static QString now();

private:
    QByteArrayView localOffset(QByteArrayView dateTime);

    // By the hour (yyyymmddhh): offsets change on the hour, and most stored times share a few.
    QHash<qint64, QByteArray> offsetByHour_;
};

}  // namespace dorvanel
