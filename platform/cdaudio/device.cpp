#include <mutex>

#include "platform/cdaudio/cdaudio.h"
#include "platform/cdaudio/command.h"
#include "platform/cdaudio/default_drive.h"
#include "platform/cdaudio/disc_times.h"

namespace cdaudio {
namespace {

using Item = Command::Item;

constexpr qsizetype kReplyLimit = 99;

// One device for the whole process, as the command interface it stands in for has.
struct Device {
  std::unique_ptr<Drive> drive;
  bool chosen = false;  // `drive` is the choice, even when null
  bool open = false;
  bool tmsfFormat = false;
};

std::mutex& lock() {
  static std::mutex m;
  return m;
}

Device& device() {
  static Device d;
  return d;
}

Drive* drive() {
  Device& d = device();
  if (!d.chosen) {
    d.drive = defaultDrive();
    d.chosen = true;
  }
  return d.drive.get();
}

void close() {
  Device& d = device();
  if (d.open) d.drive->release();
  d.open = false;
}

// An audio CD numbers its tracks 1 to 99 and addresses every frame, the lead-out's included, in
// minutes, seconds and frames of two digits each.
constexpr int kMostTracks = 99;
constexpr int kAddressableFrames = 100 * 60 * 75;

// The table of contents of a disc the device can play. One without tracks has nothing to time or
// play, and one beyond what an audio CD holds (a damaged table, a made-up script) would give
// times the replies cannot write; both count as a disc the drive cannot read.
std::optional<Toc> readableToc(Drive& drive) {
  std::optional<Toc> toc = drive.toc();
  if (toc &&
      (toc->tracks.empty() || toc->tracks.size() > size_t(kMostTracks) || toc->leadOut >= kAddressableFrames))
    return std::nullopt;
  return toc;
}

int discStatus(const Command& c, Drive& drive, bool tmsfFormat, QString* reply) {
  if (drive.state() != DriveState::Ready) return kNotReady;
  const std::optional<Toc> toc = readableToc(drive);
  if (!toc) return kHardware;
  const int tracks = int(toc->tracks.size());
  if (c.item == Item::Tracks) {
    *reply = QString::number(tracks);
    return kOk;
  }
  if (c.item == Item::Length) {
    *reply = msf(discFrames(*toc));
    return kOk;
  }
  if (c.track < 1 || c.track > tracks) return kOutOfRange;
  const Toc::Track& track = toc->tracks[c.track - 1];
  if (c.item == Item::TrackLength)
    *reply = msf(trackFrames(*toc, c.track));
  else if (c.item == Item::TrackPosition)
    *reply = tmsfFormat ? tmsf(c.track, 0) : msf(track.start);
  else
    *reply = track.data ? "other" : "audio";
  return kOk;
}

int status(const Command& c, Drive& drive, bool tmsfFormat, QString* reply) {
  if (c.item == Item::Ready) {
    // An open tray is a drive ready to be asked; its mode says why there is nothing to read.
    const DriveState state = drive.state();
    *reply = state == DriveState::TrayOpen || (state == DriveState::Ready && readableToc(drive)) ? "true"
                                                                                                 : "false";
    return kOk;
  }
  if (c.item == Item::Mode) {
    const DriveState state = drive.state();
    *reply = state == DriveState::Ready ? "stopped" : state == DriveState::TrayOpen ? "open" : "not ready";
    return kOk;
  }
  return discStatus(c, drive, tmsfFormat, reply);
}

int open(QString* reply) {
  Device& d = device();
  if (d.open) return kDeviceOpen;
  Drive* dr = drive();
  if (!dr) return kNoDrive;
  if (!dr->acquire()) return kInUse;
  d.open = true;
  d.tmsfFormat = false;
  *reply = "1";
  return kOk;
}

int run(const QString& command, QString* reply) {
  const std::optional<Command> c = parseCommand(command);
  if (!c) return kUnrecognizedCommand;
  if (c->device != "cdaudio") return kInvalidDevice;
  if (c->verb == Command::Verb::Open) return c->error ? c->error : open(reply);
  Device& d = device();
  if (!d.open) return kInvalidDevice;
  if (c->error) return c->error;
  if (c->verb == Command::Verb::Close) {
    close();
    return kOk;
  }
  if (c->verb == Command::Verb::Set) {
    d.tmsfFormat = c->tmsf;
    return kOk;
  }
  return status(*c, *d.drive, d.tmsfFormat, reply);
}

}  // namespace

void useDrive(std::unique_ptr<Drive> newDrive) {
  std::lock_guard guard(lock());
  close();
  Device& d = device();
  d.drive = std::move(newDrive);
  d.chosen = d.drive != nullptr;
}

int sendString(const QString& command, QString* reply) {
  std::lock_guard guard(lock());
  const QString normal = normalised(command);
  QString text;
  int code = kOk;
  if (Drive* dr = drive()) code = dr->failure(normal);
  if (code == kOk) code = run(normal, &text);
  if (reply) *reply = code == kOk ? text.left(kReplyLimit) : QString();
  return code;
}

}  // namespace cdaudio
