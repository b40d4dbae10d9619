// Talking to the "cdaudio" device: commands, their replies, and the times and frames in them.
#pragma once

#include <QString>

// Sends a command and returns its reply: "1" for true, "" for false, "Error:1" when the device is
// open already, "Error:" and the code for any other failure (which also goes to the event log).
QString SendCdCommand(const QString& command);
// The drive's mode ("stopped", "open", ...).
QString SendCdCommand();

// A reply used as a number: its decimal value, 0 when it is not a number (an error reply).
int ReplyNumber(const QString& reply);

// The time value of an "mm:ss:ff" reply, to the second: frames "99" round up to the next second,
// 60 minutes and more make an hour.
qint32 CdTimeToTime(const QString& reply);
// The frames (1/75 s) of an "mm:ss:ff" reply.
qint64 CdFrames(const QString& reply);
