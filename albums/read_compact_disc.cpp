// ReadCompactDisc: one read of the audio CD in the drive, through the "cdaudio" device.

#include "albums/albums.h"
#include "albums/cd_commands.h"
#include "albums/cd_tracks.h"
#include "albums/cddb.h"
#include "platform/picture/time_values.h"
#include "platform/runtime/control.h"
#include "platform/runtime/message.h"
#include "platform/runtime/threads.h"
#include "platform/runtime/window.h"
#include "storage/file_access.h"
#include "storage/messages.h"
#include "storage/records.h"
#include "storage/requests.h"

std::vector<CdTrack> CdTracks;

namespace {

enum Control { kBar = 1, kStatus, kDetail };

// "Reading CD": a bar of 25 steps and two lines of what is being read.
class ProgressWindow {
 public:
  ProgressWindow()
      : w_({.title = "Reading CD", .size = {300, 92}, .kind = rt::WindowKind::Dialog, .resizable = false}) {
    using K = rt::ControlKind;
    w_.add({.kind = K::Progress, .number = kBar, .rect = {10, 10, 280, 18}});
    w_.add({.kind = K::String, .number = kStatus, .text = "Serial Number", .rect = {10, 38, 280, 18}});
    w_.add({.kind = K::String, .number = kDetail, .rect = {10, 62, 280, 18}});
    w_.open();
    w_.control(kBar)->setProgress(0);
  }
  ~ProgressWindow() { w_.close(); }
  void status(const QString& text) { w_.control(kStatus)->setText(text); }
  void detail(const QString& text) { w_.control(kDetail)->setText(text); }
  void step() {
    value_ = qMin(100, value_ + 4);
    w_.control(kBar)->setProgress(value_);
  }

 private:
  rt::Window w_;
  int value_ = 0;
};

void refuse(const QString& text) {
  rt::message(text, "Error", rt::Icon::Hand);
}

// The serial number: the track count, then the disc's and the first three tracks' times.
void serialNumber(int tracks) {
  ALB.CDIdentifier = QString::number(tracks).rightJustified(2, ' ');
  // A text field holds its value without trailing spaces and cut to its width, as each step wants.
  const auto append = [](const QString& command) {
    ALB.CDIdentifier = ALB.CDIdentifier.str() + QString::number(CdTimeToTime(SendCdCommand(command)));
  };
  append("status cdaudio length");
  for (int i = 1; i <= qMin(tracks, 3); ++i)
    append("status cdaudio length track " + QString::number(i));
}

void fillPositionTable(int tracks) {
  std::vector<CddbRow>& table = CdPositionTable();
  table.clear();
  SendCdCommand("set cdaudio time format msf");
  for (int i = 1; i <= tracks; ++i) {
    const QString n = QString::number(i);
    table.push_back({quint32(CdFrames(SendCdCommand("status cdaudio position track " + n))),
                     quint32(CdFrames(SendCdCommand("status cdaudio length track " + n)))});
  }
}

// A data track (the computer part of an enhanced CD) is no song; the device tells them apart by the
// track's control bits. A failed question counts as audio.
bool isDataTrack(int track) {
  return SendCdCommand("status cdaudio type track " + QString::number(track)) == "other";
}

void readTrackTimes(int tracks, ProgressWindow& progress) {
  CdTracks.clear();
  SendCdCommand("set cdaudio time format tmsf");
  qint64 audioFrames = 0;
  bool enhanced = false;
  for (int i = 1; i <= tracks; ++i) {
    progress.status(QString("Track %1 of %2").arg(i).arg(tracks));
    const QString n = QString::number(i);
    if (isDataTrack(i)) {
      enhanced = true;
      progress.detail("Enhanced CD Detected");
    } else {
      const QString length = SendCdCommand("status cdaudio length track " + n);
      CdTracks.push_back({.TrackNumber = i, .TrackTime = CdTimeToTime(length)});
      audioFrames += CdFrames(length);
    }
    rt::yield();
    progress.step();
  }
  ALB.TotalTime = CdTimeToTime(SendCdCommand("status cdaudio length"));
  // The disc's length takes in its data tracks; the album's playing time is the music's.
  if (enhanced) ALB.TotalTime = pic::timeValue(0, 0, int(audioFrames / 75));
}

// Reports the first write of a read's rows that failed; the rows before it stay.
bool written(const files::Status& s, const files::File& file) {
  if (s) return true;
  StandardMessage(msg::kProcessError, {.file = file.label(), .error = s, .put = true});
  return false;
}

void writeWizardRows() {
  if (!OpenFile(AddWizard)) return;
  AddWizard.stream();
  for (const CdTrack& t : CdTracks) {
    const auto key = [&t] {
      AW.Instance = ThreadInstance.get();
      AW.Side = "0";
      AW.Track = t.TrackNumber;
    };
    key();
    if (AddWizard.get(AddWizard.KeyInstance)) {
      AW.Time = t.TrackTime;
      if (!written(AddWizard.put(), AddWizard)) break;
      continue;
    }
    AW.clear();
    key();
    AW.Artist = ALB.Artist.str().trimmed().isEmpty() ? QString("Various") : ALB.Artist.str();
    AW.Title = "Track " + QString::number(t.TrackNumber);
    AW.Time = t.TrackTime;
    if (!written(AddWizard.add(), AddWizard)) break;
  }
  written(AddWizard.flush(), AddWizard);
  CloseFile(AddWizard);
}

qint32 nextSongId() {
  Cantorix.set(Cantorix.KeyID);
  return Cantorix.previous() ? MUS.ID.get() + 1 : 1;
}

void writeAlbumSongs() {
  if (!OpenFile(Cantorix)) return;
  Cantorix.stream();
  for (const CdTrack& t : CdTracks) {
    const auto key = [&t] {
      MUS.AlbumID = ALB.AlbumID.get();
      MUS.Side = GLO::Side.get();
      MUS.TrackNumber = t.TrackNumber;
    };
    key();
    if (Cantorix.get(Cantorix.KeyAlbumID)) {
      MUS.Time = t.TrackTime;
      if (!written(Cantorix.put(), Cantorix)) break;
      continue;
    }
    const qint32 id = nextSongId();
    MUS.clear();
    key();
    MUS.ID = id;
    MUS.Artist = ALB.Artist;
    MUS.Album = ALB.Album;
    MUS.Media = ALB.Media;
    MUS.FileNumber = ALB.FileNumber;
    MUS.ReleaseDate = ALB.ReleaseDate.get();
    MUS.CategoryID = qint32(ALB.CategoryID.get());
    MUS.Title = "Track " + QString::number(t.TrackNumber);
    MUS.Time = t.TrackTime;
    if (!written(Cantorix.add(), Cantorix)) break;
  }
  written(Cantorix.flush(), Cantorix);
  CloseFile(Cantorix);
}

}  // namespace

bool ReadCompactDisc(bool identifierOnly, bool forWizard) {
  const QString opened = SendCdCommand("open cdaudio shareable");
  const int device = ReplyNumber(opened);
  if (device != 1 && device != 2) {
    refuse("CD player not available.  Ensure that no other program is using the CD-ROM drive.");
    // A device this read did not open is not this read's to close: it may be another window's read.
    if (!opened.startsWith("Error:")) SendCdCommand("close cdaudio");
    return false;
  }
  if (SendCdCommand("status cdaudio ready").isEmpty()) {
    refuse("CD player not ready.");
    SendCdCommand("close cdaudio");
    return false;
  }
  if (SendCdCommand() == "open") {
    refuse("CD player door open.");
    SendCdCommand("close cdaudio");
    return false;
  }

  ProgressWindow progress;
  SendCdCommand("set cdaudio time format tmsf");
  const int tracks = ReplyNumber(SendCdCommand("status cdaudio number of tracks"));
  serialNumber(tracks);
  fillPositionTable(tracks);
  const CddbIdentifier cddb = ComputeCddbIdentifier(CdPositionTable());
  ALB.XCCD = cddb.id;
  if (cddb.totalTime) ALB.TotalTime = *cddb.totalTime;
  SendCdCommand("set cdaudio time format tmsf");
  if (identifierOnly && !forWizard) {
    SendCdCommand("close cdaudio");
    return true;
  }
  progress.step();

  readTrackTimes(tracks, progress);
  SendCdCommand("close cdaudio");
  if (forWizard) {
    writeWizardRows();
    return true;
  }
  if (ALB.AlbumID.get() != 0) writeAlbumSongs();
  return true;
}
