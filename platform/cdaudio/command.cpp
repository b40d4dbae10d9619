#include "platform/cdaudio/command.h"

#include <QMap>
#include <QStringList>

#include "platform/cdaudio/cdaudio.h"

namespace cdaudio {
namespace {

using Item = Command::Item;

int parseOpen(const QStringList& words) {
  return words.isEmpty() || words == QStringList{"shareable"} ? kOk : kUnrecognizedCommand;
}

int parseSet(const QStringList& words, Command* c) {
  if (words.isEmpty()) return kMissingParameter;
  if (words.size() < 2 || words[0] != "time" || words[1] != "format") return kUnrecognizedCommand;
  if (words.size() == 2) return kMissingParameter;
  if (words.size() > 3) return kUnrecognizedCommand;
  if (words[2] != "msf" && words[2] != "tmsf") return kBadValue;
  c->tmsf = words[2] == "tmsf";
  return kOk;
}

int parseTrackItem(const QStringList& words, Command* c) {
  static const QMap<QString, Item> items{
      {"length", Item::TrackLength}, {"position", Item::TrackPosition}, {"type", Item::TrackType}};
  if (words.size() == 1) return kMissingParameter;
  if (words[1] != "track" || words.size() > 3) return kUnrecognizedCommand;
  if (words.size() == 2) return kMissingParameter;
  c->item = items.value(words[0]);
  // A word that is no number names no track, so it is refused as out of range once the disc is known.
  c->track = plainNumber(words[2]).value_or(0);
  return kOk;
}

int parseStatus(const QStringList& words, Command* c) {
  static const QMap<QString, Item> wholeItems{{"ready", Item::Ready},
                                              {"mode", Item::Mode},
                                              {"number of tracks", Item::Tracks},
                                              {"length", Item::Length}};
  if (words.isEmpty()) return kMissingParameter;
  if (const Item item = wholeItems.value(words.join(' '), Item::None); item != Item::None) {
    c->item = item;
    return kOk;
  }
  if (words[0] == "length" || words[0] == "position" || words[0] == "type") return parseTrackItem(words, c);
  return kUnrecognizedCommand;
}

}  // namespace

std::optional<int> plainNumber(const QString& word) {
  for (QChar c : word)
    if (!c.isDigit()) return std::nullopt;
  bool ok = false;
  const int n = word.toInt(&ok);
  if (!ok) return std::nullopt;
  return n;
}

QString normalised(const QString& command) {
  return command.simplified().toLower();
}

std::optional<Command> parseCommand(const QString& normalisedCommand) {
  static const QMap<QString, Command::Verb> verbs{{"open", Command::Verb::Open},
                                                  {"close", Command::Verb::Close},
                                                  {"set", Command::Verb::Set},
                                                  {"status", Command::Verb::Status}};
  const QStringList words = normalisedCommand.split(' ', Qt::SkipEmptyParts);
  if (words.isEmpty() || !verbs.contains(words[0])) return std::nullopt;
  Command c;
  c.verb = verbs.value(words[0]);
  c.device = words.value(1);
  const QStringList rest = words.mid(2);
  switch (c.verb) {
    case Command::Verb::Open:
      c.error = parseOpen(rest);
      break;
    case Command::Verb::Close:
      c.error = rest.isEmpty() ? kOk : kUnrecognizedCommand;
      break;
    case Command::Verb::Set:
      c.error = parseSet(rest, &c);
      break;
    case Command::Verb::Status:
      c.error = parseStatus(rest, &c);
      break;
  }
  return c;
}

}  // namespace cdaudio
