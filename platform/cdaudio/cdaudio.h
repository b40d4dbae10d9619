// The "cdaudio" command-string device: the audio CD in the computer's drive, driven by text commands
// and answering with text replies, as a multimedia command interface does.
//
//   open cdaudio [shareable]              reply: the device number ("1"); 265 when already open
//   close cdaudio
//   set cdaudio time format msf|tmsf      the format of positions and lengths (msf at open)
//   status cdaudio ready                  "true" when a disc is in and readable or the tray is
//                                         open (the mode tells which), else "false"
//   status cdaudio mode                   "stopped", "open" (the tray), "not ready" (no disc)
//   status cdaudio number of tracks       "12" (data tracks included)
//   status cdaudio length                 the disc's playing time, "mm:ss:ff"
//   status cdaudio length track N         track N's playing time, "mm:ss:ff"
//   status cdaudio position track N       where track N starts: "mm:ss:ff" from the start of the
//                                         disc's lead-in (msf), "tt:mm:ss:ff" (tmsf)
//   status cdaudio type track N           "audio" or "other"
//
// Frames are 1/75 second. A track's length runs to the next track's start; the last track's ends one
// frame before the lead-out. An audio track followed by a data track of a later session (an enhanced
// CD) ends where its session's lead-out begins, 11,400 frames before the data track, so audio times
// stay right. The disc's length runs from the first track to the lead-out.
//
// A disc with no tracks, more than 99 tracks or a lead-out at 100 minutes or beyond is no audio CD:
// "ready" answers false and its questions fail with kHardware, as for a disc the drive cannot read.
//
// The drive behind the device is, in this order: one installed with useDrive(), the script the
// environment variable KVX_CDAUDIO_SCRIPT names, the first CD drive the system has, or none (then
// "open" fails with kNoDrive).
#pragma once

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace cdaudio {

// Return codes of sendString(); 0 is success.
enum Code : int {
  kOk = 0,
  kUnrecognizedCommand = 261,
  kHardware = 262,       // the drive failed to read the disc
  kInvalidDevice = 263,  // not "cdaudio", or the device is not open
  kDeviceOpen = 265,     // "open" while the device is open
  kNoDrive = 266,        // the system has no CD drive
  kInUse = 267,          // another program holds the drive
  kMissingParameter = 273,
  kNotReady = 276,    // no disc, or the tray is open
  kOutOfRange = 282,  // no such track
  kBadValue = 293,    // an unknown time format
};

// A disc's table of contents, in frames counted from the start of the lead-in (track 1 of a
// pressed CD starts at 150).
struct Toc {
  struct Track {
    int start = 0;
    bool data = false;  // the track's control bits mark it as data
  };
  std::vector<Track> tracks;  // track 1 first
  int leadOut = 0;
};

enum class DriveState { Ready, NoDisc, TrayOpen, NotReady };

// What the device asks of a drive.
class Drive {
 public:
  virtual ~Drive() = default;
  // Takes the drive for the device; false when another program holds it.
  virtual bool acquire() = 0;
  virtual void release() = 0;
  virtual DriveState state() = 0;
  // The disc's table of contents; nullopt when it cannot be read.
  virtual std::optional<Toc> toc() = 0;
  // A return code a script sets for a command (normalised: lower case, single spaces); 0: none.
  virtual int failure(const QString& command) { return 0; }
};

// A drive that plays back a script: its state, its table of contents and commands that fail.
struct Script {
  DriveState state = DriveState::Ready;
  bool inUse = false;  // another program holds the drive
  Toc toc;
  std::map<QString, int> failures;  // normalised command -> return code
};

// The text form of a script, one statement a line ('#' starts a comment):
//   state ready|nodisc|open|notready
//   inuse
//   track START [data]          one line per track, in order; START in frames
//   leadout FRAMES
//   fail CODE COMMAND...        e.g. "fail 262 status cdaudio length track 3"
// nullopt with `error` naming the line when the text is not a script.
std::optional<Script> parseScript(const QString& text, QString* error);

std::unique_ptr<Drive> scriptedDrive(Script script);
// The first CD drive of the system (Linux CD-ROM interface); null when there is none.
std::unique_ptr<Drive> systemDrive();

// Installs the drive the device uses from now on (closing the device if it is open); null goes back
// to the default choice.
void useDrive(std::unique_ptr<Drive> drive);

// Sends a command; the reply (at most 99 characters) goes to `reply`. Returns a Code.
int sendString(const QString& command, QString* reply);

}  // namespace cdaudio
