#include "repository/IsoTimes.h"

#include <QDateTime>
#include <cstdlib>

namespace dorvanel {

namespace {

constexpr qsizetype SecondsEnd = 19;  // "YYYY-MM-DD HH:MM:SS"
constexpr qsizetype DateTimeSeparator = 10;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int number(QByteArrayView text, qsizetype from, qsizetype length) {
    int value = 0;
    for (qsizetype i = from; i < from + length; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

// "YYYY-MM-DD HH:MM:SS" or with "T" between date and time, maybe followed by more.
bool startsWithDateTime(QByteArrayView text) {
    static constexpr char Shape[] = "dddd-dd-dd?dd:dd:dd";
    if (text.size() < SecondsEnd) return false;
    for (qsizetype i = 0; i < SecondsEnd; ++i) {
        const char expected = Shape[i];
        const char c = text[i];
        const bool fits = expected == 'd' ? isDigit(c) : expected == '?' ? (c == ' ' || c == 'T') : c == expected;
        if (!fits) return false;
    }
    return true;
}

// Where the fractions of a second that follow the seconds end.
qsizetype fractionEnd(QByteArrayView text) {
    qsizetype end = SecondsEnd;
    if (end < text.size() && text[end] == '.')
        for (++end; end < text.size() && isDigit(text[end]);) ++end;
    return end;
}

// "Z", or "+HH:MM" / "-HH:MM".
bool isOffset(QByteArrayView zone) {
    if (zone == "Z") return true;
    return zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') && isDigit(zone[1]) && isDigit(zone[2]) &&
           zone[3] == ':' && isDigit(zone[4]) && isDigit(zone[5]);
}

QDateTime localTime(QByteArrayView dateTime) {
    return QDateTime(QDate(number(dateTime, 0, 4), number(dateTime, 5, 2), number(dateTime, 8, 2)),
                     QTime(number(dateTime, 11, 2), number(dateTime, 14, 2), number(dateTime, 17, 2)));
}

QByteArray twoDigits(int value) { return QByteArray::number(value).rightJustified(2, '0'); }

QByteArray offsetText(int seconds) {
    const int minutes = std::abs(seconds) / 60;
    return (seconds < 0 ? "-" : "+") + twoDigits(minutes / 60) + ':' + twoDigits(minutes % 60);
}

}  // namespace

QByteArrayView IsoTimes::addWithOffset(QByteArrayView stored, Utf8Texts& texts) {
    if (!startsWithDateTime(stored)) return texts.add(stored);
    const qsizetype end = fractionEnd(stored);
    const QByteArrayView zone = stored.sliced(end);
    if (!zone.isEmpty() && !isOffset(zone)) return texts.add(stored);
    return texts.add({stored.first(DateTimeSeparator), "T",
                      stored.sliced(DateTimeSeparator + 1, end - DateTimeSeparator - 1),
                      zone.isEmpty() ? localOffset(stored) : zone});
}

QString IsoTimes::withOffset(const QString& stored) {
    Utf8Texts texts;
    return QString::fromUtf8(addWithOffset(stored.toUtf8(), texts));
}

QString IsoTimes::column(Connection::Engine engine, const QString& column) {
    if (engine == Connection::Engine::Sqlite) return column;
    return QStringLiteral("to_char(%1::timestamptz, 'YYYY-MM-DD\"T\"HH24:MI:SS.MSTZH:TZM')").arg(column);
}

QString IsoTimes::now() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           QString::fromLatin1(offsetText(now.offsetFromUtc()));
}

QByteArrayView IsoTimes::localOffset(QByteArrayView dateTime) {
    const qint64 hour = qint64(number(dateTime, 0, 4)) * 1000000 + number(dateTime, 5, 2) * 10000 +
                        number(dateTime, 8, 2) * 100 + number(dateTime, 11, 2);
    QByteArray& offset = offsetByHour_[hour];
    if (offset.isEmpty()) offset = offsetText(localTime(dateTime).offsetFromUtc());
    return offset;
}

}  // namespace dorvanel
