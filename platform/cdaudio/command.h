// The words of a command string, taken apart before the device acts on them.
#pragma once

#include <QString>
#include <optional>

namespace cdaudio {

struct Command {
  enum class Verb { Open, Close, Set, Status };
  enum class Item { None, Ready, Mode, Tracks, Length, TrackLength, TrackPosition, TrackType };

  Verb verb = Verb::Open;
  QString device;  // empty when the command names none
  int error = 0;   // a Code for what is wrong with the words after the device name
  Item item = Item::None;
  int track = 0;      // the Track* items; 0 when the word given is no number
  bool tmsf = false;  // "set": the time format chosen
};

// Lower case, single spaces, no space at either end: the form scripts name commands in.
QString normalised(const QString& command);

// A count written as plain digits; nullopt for anything else (a sign, a fraction, too many digits).
std::optional<int> plainNumber(const QString& word);

// nullopt when the command has no verb the device knows.
std::optional<Command> parseCommand(const QString& normalisedCommand);

}  // namespace cdaudio
