// The program's clock: the local date and time that today's day number, the time of day and the
// century of a two-digit year are read from. Tests fix it at a moment of their choice, so that
// nothing they check depends on the day they run; the program never does.
#pragma once

#include <QDateTime>

namespace pic {

QDateTime now();
// Stops the clock at `moment`; an invalid moment lets it run with the system's clock again.
void setClock(const QDateTime& moment);

}  // namespace pic
