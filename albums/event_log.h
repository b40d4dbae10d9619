// The program's event log ("KVXEvent.LOG"): one fixed-width line per event, when "UseLog" is on.
#pragma once

#include <QString>

// Appends a line with today's date, the time, `label` and `detail`. The log stays open between
// lines and is closed after every 101 of them, so other programs see it whole now and then.
void WriteEventLog(const QString& label, const QString& detail);
