#include "base/core/zeldatetime.h"

#include <cmath>

namespace {
// 1899-12-30, built at compile time so that callers from other files' static
// initialisers see it.
constexpr QDate epoch = QDate::fromJulianDay(2415019);
constexpr double msPerDay = 86400000.0;
}

double zelDateTimeToSerial(const QDateTime &dateTime)
{
    const double days = double(epoch.daysTo(dateTime.date()));
    const double fraction = dateTime.time().msecsSinceStartOfDay() / msPerDay;
    // Before the epoch the fraction still counts forward from midnight.
    return days < 0 ? days - fraction : days + fraction;
}

QDateTime zelSerialToDateTime(double serial)
{
    const double whole = std::trunc(serial);
    const double fraction = std::fabs(serial - whole);
    const QDate date = epoch.addDays(qint64(whole));
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(std::llround(fraction * msPerDay)) % int(msPerDay));
    return QDateTime(date, time);
}

double zelNow()
{
    return zelDateTimeToSerial(QDateTime::currentDateTime());
}
