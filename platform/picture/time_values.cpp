#include "platform/picture/time_values.h"

#include <algorithm>
#include <limits>

#include "platform/picture/clock.h"

namespace pic {

qint32 timeValue(int hours, int minutes, int seconds, int hundredths) {
  const qint64 value = hours * kHundredthsPerHour + minutes * kHundredthsPerMinute +
                       seconds * kHundredthsPerSecond + hundredths + 1;
  return static_cast<qint32>(std::clamp<qint64>(value, 0, std::numeric_limits<qint32>::max()));
}

qint32 timeValue(const QTime& time) {
  return timeValue(time.hour(), time.minute(), time.second(), time.msec() / 10);
}

qint32 clockNow() {
  return timeValue(now().time());
}

}  // namespace pic
