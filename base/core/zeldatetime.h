#pragma once
/// \file

#include <QDateTime>

// Dates travel as day serials: whole days since 30 December 1899, the
// fraction being the time of day.

/// Day serial of DateTime (local time).
double zelDateTimeToSerial(const QDateTime &dateTime);
/// Local date and time of a day serial.
QDateTime zelSerialToDateTime(double serial);
/// Day serial of the current local date and time.
double zelNow();
