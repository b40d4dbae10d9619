#include "platform/picture/day_numbers.h"

#include <limits>

#include "platform/picture/clock.h"

namespace pic {

namespace {

// Julian day of 28 December 1800.
constexpr qint64 kJulianDayOfDayZero = 2378858;

}  // namespace

qint32 dayNumber(const QDate& d) {
  if (!d.isValid()) return 0;
  const qint64 day = d.toJulianDay() - kJulianDayOfDayZero;
  // Days before 1801 and beyond the 32-bit range would be read back as something else; they are no dates.
  if (day <= 0 || day > std::numeric_limits<qint32>::max()) return 0;
  return static_cast<qint32>(day);
}

QDate dateOfDay(qint64 day) {
  if (day <= 0 || day > std::numeric_limits<qint32>::max()) return {};
  return QDate::fromJulianDay(day + kJulianDayOfDayZero);
}

qint32 today() {
  return dayNumber(now().date());
}

}  // namespace pic
