#include "albums/event_log.h"

#include "platform/picture/clock.h"
#include "platform/picture/day_numbers.h"
#include "platform/picture/picture.h"
#include "platform/picture/time_values.h"
#include "storage/records.h"
#include "storage/settings.h"

namespace {

constexpr int kLinesPerOpening = 101;
int linesWritten = 0;

bool openLog() {
  if (EventLog.isOpen()) return true;
  if (EventLog.open()) return true;
  return EventLog.create().ok() && EventLog.open().ok();
}

}  // namespace

void WriteEventLog(const QString& label, const QString& detail) {
  if (!Pref::UseLog.get()) return;
  if (!openLog()) return;
  EVL.LogLabel = label;
  EVL.LogData = detail;
  // Date and time of one reading of the clock, so that a line written at midnight is not a day out.
  const QDateTime moment = pic::now();
  EVL.LogDate = pic::format(pic::dayNumber(moment.date()), "@d3");
  EVL.LogTime = pic::format(pic::timeValue(moment.time()), "@t7");
  (void)EventLog.add();  // the log only keeps a record of the CD commands: a line lost stops nothing
  if (++linesWritten >= kLinesPerOpening) {
    EventLog.close();
    linesWritten = 0;
  }
}
