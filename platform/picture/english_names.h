#pragma once

#include <QString>

namespace pic::internal {

// English names whatever the locale, since the fixed picture styles show them: 1 = January, 1 = Monday.
QString englishMonthName(int month);
QString englishWeekdayName(int weekday);

}  // namespace pic::internal
