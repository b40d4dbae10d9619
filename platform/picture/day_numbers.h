#pragma once

#include <QDate>
#include <QtGlobal>

namespace pic {

// Dates are kept as day numbers: day 0 is 28 December 1800, so every date from 1801 on is positive, dates
// compare in calendar order, and 0 is free to mean "no date".
qint32 dayNumber(const QDate& d);  // invalid or not representable -> 0
QDate dateOfDay(qint64 day);       // 0 or negative -> invalid QDate
// Today on the program's clock (clock.h).
qint32 today();

}  // namespace pic
