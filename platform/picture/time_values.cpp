#include "platform/picture/time_values.h"

#include <QTime>
#include <algorithm>
#include <limits>

namespace pic {

qint32 timeValue(int hours, int minutes, int seconds, int hundredths) {
  const qint64 value = hours * kHundredthsPerHour + minutes * kHundredthsPerMinute +
                       seconds * kHundredthsPerSecond + hundredths + 1;
  return static_cast<qint32>(std::clamp<qint64>(value, 0, std::numeric_limits<qint32>::max()));
}

qint32 clockNow() {
  const QTime now = QTime::currentTime();
  return timeValue(now.hour(), now.minute(), now.second(), now.msec() / 10);
}

}  // namespace pic
