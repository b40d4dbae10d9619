#pragma once

#include <QTime>

namespace pic {

// Times are kept as hundredths of a second since midnight plus one, so that midnight (1) is still a time and
// 0 is free to mean "no time". Sums of song times run past 24 hours, so hours are not bounded by a day.
inline constexpr qint64 kHundredthsPerSecond = 100;
inline constexpr qint64 kHundredthsPerMinute = 60 * kHundredthsPerSecond;
inline constexpr qint64 kHundredthsPerHour = 60 * kHundredthsPerMinute;

// Results that do not fit 32 bits (about 5965 hours) saturate instead of wrapping.
qint32 timeValue(int hours, int minutes, int seconds, int hundredths = 0);
qint32 timeValue(const QTime& time);
// The time of day on the program's clock (clock.h).
qint32 clockNow();

}  // namespace pic
