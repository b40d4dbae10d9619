#include "platform/picture/english_names.h"

namespace pic::internal {

QString englishMonthName(int month) {
  static const char* const kNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
  return month >= 1 && month <= 12 ? QString::fromLatin1(kNames[month - 1]) : QString();
}

QString englishWeekdayName(int weekday) {
  static const char* const kNames[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                       "Friday", "Saturday", "Sunday"};
  return weekday >= 1 && weekday <= 7 ? QString::fromLatin1(kNames[weekday - 1]) : QString();
}

}  // namespace pic::internal
