// The platform's date-time value: days since 30 December 1899 as a double, the fraction being
// the time of day (0.5 is noon). Conversions to and from Qt's types, to the millisecond.
#pragma once
#include <QDate>
#include <QDateTime>
#include <QTime>

using TDateTime = double;

TDateTime DateTimeFromQt(const QDateTime& dt);
TDateTime DateFromQt(const QDate& d);
TDateTime TimeFromQt(const QTime& t);
// Invalid (null) results for values outside the years 1 to 9999 or not finite.
QDateTime DateTimeToQt(TDateTime v);
QDate DateToQt(TDateTime v);
QTime TimeToQt(TDateTime v);
