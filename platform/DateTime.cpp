#include "platform/DateTime.h"

#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
}  // namespace

TDateTime DateFromQt(const QDate& d) { return d.isValid() ? static_cast<double>(kEpoch.daysTo(d)) : 0.0; }

TDateTime TimeFromQt(const QTime& t) { return t.isValid() ? t.msecsSinceStartOfDay() / kMsPerDay : 0.0; }

TDateTime DateTimeFromQt(const QDateTime& dt) {
  if (!dt.isValid()) return 0.0;
  // Before the epoch the fraction still counts forwards from midnight (-1.25 is 29 Dec 1899, 06:00).
  const double days = DateFromQt(dt.date());
  const double frac = TimeFromQt(dt.time());
  return days < 0 ? days - frac : days + frac;
}

QDate DateToQt(TDateTime v) {
  if (!std::isfinite(v) || std::fabs(v) > 3.0e6) return QDate();
  const QDate d = kEpoch.addDays(static_cast<qint64>(std::trunc(v)));
  return d.year() >= 1 && d.year() <= 9999 ? d : QDate();
}

QTime TimeToQt(TDateTime v) {
  if (!std::isfinite(v) || std::fabs(v) > 3.0e6) return QTime();
  double frac = std::fabs(v - std::trunc(v));
  auto ms = static_cast<int>(std::llround(frac * kMsPerDay));
  if (ms >= 86400000) ms = 86399999;
  return QTime::fromMSecsSinceStartOfDay(ms);
}

QDateTime DateTimeToQt(TDateTime v) {
  const QDate d = DateToQt(v);
  if (!d.isValid()) return QDateTime();
  return QDateTime(d, TimeToQt(v));
}
