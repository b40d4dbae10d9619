#include <QMap>
#include <QStringList>

#include "platform/cdaudio/cdaudio.h"
#include "platform/cdaudio/command.h"

namespace cdaudio {
namespace {

class Parser {
 public:
  std::optional<Script> parse(const QString& text, QString* error) {
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
      QString line = lines[i];
      if (const qsizetype hash = line.indexOf('#'); hash >= 0) line.truncate(hash);
      const QStringList words = line.simplified().toLower().split(' ', Qt::SkipEmptyParts);
      if (words.isEmpty()) continue;
      line_ = int(i) + 1;
      if (const QString problem = statement(words[0], words.mid(1)); !problem.isEmpty())
        return refuse(line_, problem, error);
    }
    if (!script_.toc.tracks.empty() && !leadOutSeen_)
      return refuse(lastTrackLine_, "the tracks have no leadout", error);
    return script_;
  }

 private:
  static std::optional<Script> refuse(int line, const QString& problem, QString* error) {
    if (error) *error = QString("line %1: %2").arg(line).arg(problem);
    return std::nullopt;
  }

  // What is wrong with the statement; empty when it is taken.
  QString statement(const QString& keyword, const QStringList& args) {
    if (keyword == "state") return state(args);
    if (keyword == "inuse") {
      if (!args.isEmpty()) return "inuse takes no value";
      script_.inUse = true;
      return {};
    }
    if (keyword == "track") return track(args);
    if (keyword == "leadout") return leadOut(args);
    if (keyword == "fail") return fail(args);
    return QString("unknown statement \"%1\"").arg(keyword);
  }

  QString state(const QStringList& args) {
    static const QMap<QString, DriveState> states{{"ready", DriveState::Ready},
                                                  {"nodisc", DriveState::NoDisc},
                                                  {"open", DriveState::TrayOpen},
                                                  {"notready", DriveState::NotReady}};
    if (stateSeen_) return "a second state";
    if (args.size() != 1 || !states.contains(args[0])) return "state is one of ready, nodisc, open, notready";
    script_.state = states.value(args[0]);
    stateSeen_ = true;
    return {};
  }

  QString track(const QStringList& args) {
    if (leadOutSeen_) return "a track after the leadout";
    if (args.isEmpty() || args.size() > 2 || (args.size() == 2 && args[1] != "data"))
      return "a track is \"track START\" or \"track START data\"";
    const std::optional<int> start = plainNumber(args[0]);
    if (!start) return QString("\"%1\" is not a number of frames").arg(args[0]);
    std::vector<Toc::Track>& tracks = script_.toc.tracks;
    if (!tracks.empty() && *start <= tracks.back().start)
      return QString("track %1 does not start after track %2").arg(tracks.size() + 1).arg(tracks.size());
    tracks.push_back({*start, args.size() == 2});
    lastTrackLine_ = line_;
    return {};
  }

  QString leadOut(const QStringList& args) {
    if (leadOutSeen_) return "a second leadout";
    if (args.size() != 1) return "leadout takes one number of frames";
    const std::optional<int> frames = plainNumber(args[0]);
    if (!frames) return QString("\"%1\" is not a number of frames").arg(args[0]);
    if (!script_.toc.tracks.empty() && *frames <= script_.toc.tracks.back().start)
      return "the leadout does not come after the last track";
    script_.toc.leadOut = *frames;
    leadOutSeen_ = true;
    return {};
  }

  QString fail(const QStringList& args) {
    if (args.size() < 2) return "fail takes a return code and a command";
    const std::optional<int> code = plainNumber(args[0]);
    if (!code || *code == kOk) return QString("\"%1\" is not a return code").arg(args[0]);
    const QString command = normalised(args.mid(1).join(' '));
    if (!script_.failures.emplace(command, *code).second)
      return QString("a second failure for \"%1\"").arg(command);
    return {};
  }

  Script script_;
  int line_ = 0;
  int lastTrackLine_ = 0;
  bool stateSeen_ = false;
  bool leadOutSeen_ = false;
};

class ScriptedDrive : public Drive {
 public:
  explicit ScriptedDrive(Script script) : script_(std::move(script)) {}

  bool acquire() override { return !script_.inUse; }
  void release() override {}
  DriveState state() override { return script_.state; }
  std::optional<Toc> toc() override { return script_.toc; }
  int failure(const QString& command) override {
    const auto found = script_.failures.find(command);
    return found == script_.failures.end() ? 0 : found->second;
  }

 private:
  Script script_;
};

}  // namespace

std::optional<Script> parseScript(const QString& text, QString* error) {
  return Parser().parse(text, error);
}

std::unique_ptr<Drive> scriptedDrive(Script script) {
  return std::make_unique<ScriptedDrive>(std::move(script));
}

}  // namespace cdaudio
