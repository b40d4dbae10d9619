#include "albums/cd_commands.h"

#include "albums/event_log.h"
#include "platform/cdaudio/cdaudio.h"
#include "platform/picture/time_values.h"

namespace {

// The commands and replies of the device are at most 100 characters, terminator included.
constexpr int kCommandLength = 100;

int digitsAt(const QString& reply, int from) {
  return reply.mid(from, 2).toInt();
}

}  // namespace

QString SendCdCommand(const QString& command) {
  QString reply;
  const int code = cdaudio::sendString(command.left(kCommandLength), &reply);
  if (code == cdaudio::kOk) {
    if (reply == "true") return "1";
    if (reply == "false") return QString();
    return reply;
  }
  if (code == cdaudio::kDeviceOpen) return "Error:1";
  WriteEventLog("MCI Request", command);
  WriteEventLog("MCI Return", reply);
  WriteEventLog("MCI Error", QString::number(code));
  return "Error:" + QString::number(code);
}

QString SendCdCommand() {
  return SendCdCommand("status cdaudio mode");
}

int ReplyNumber(const QString& reply) {
  bool ok = false;
  const int n = reply.trimmed().toInt(&ok);
  return ok ? n : 0;
}

qint32 CdTimeToTime(const QString& reply) {
  int minutes = digitsAt(reply, 0);
  int seconds = digitsAt(reply, 3);
  if (reply.mid(6, 2) == "99") ++seconds;  // the frames become 00
  if (seconds >= 60) {
    seconds -= 60;
    ++minutes;
  }
  int hours = 0;
  if (minutes > 59) {
    hours = 1;
    minutes -= 60;
  }
  return pic::timeValue(hours, minutes, seconds);
}

qint64 CdFrames(const QString& reply) {
  return qint64(digitsAt(reply, 0)) * 4500 + digitsAt(reply, 3) * 75 + digitsAt(reply, 6);
}
