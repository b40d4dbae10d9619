#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

#include "albums/albums.h"
#include "albums/cd_commands.h"
#include "albums/cd_tracks.h"
#include "albums/cddb.h"
#include "albums/event_log.h"
#include "platform/cdaudio/cdaudio.h"
#include "platform/picture/clock.h"
#include "platform/picture/day_numbers.h"
#include "platform/picture/picture.h"
#include "platform/picture/time_values.h"
#include "platform/runtime/threads.h"
#include "platform/settings/settings_file.h"
#include "storage/file_access.h"
#include "storage/records.h"
#include "storage/requests.h"
#include "storage/settings.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

constexpr int kPregap = 150;  // where track 1 of a pressed disc starts

// A pressed audio disc whose tracks play `lengths` frames each, as the device reports them.
cdaudio::Script discOf(const std::vector<int>& lengths) {
  cdaudio::Script s;
  int start = kPregap;
  for (int length : lengths) {
    s.toc.tracks.push_back({start});
    start += length;
  }
  s.toc.leadOut = start + 1;  // the last track is reported one frame short of the lead-out
  return s;
}

// A disc given by its track starts and lead-out, as a drive's table of contents has them.
cdaudio::Script discAt(const std::vector<int>& starts, int leadOut, int firstDataTrack = 0) {
  cdaudio::Script s;
  for (size_t i = 0; i < starts.size(); ++i)
    s.toc.tracks.push_back({starts[i], firstDataTrack && int(i) + 1 >= firstDataTrack});
  s.toc.leadOut = leadOut;
  return s;
}

int frames(int minutes, int seconds, int frames) {
  return minutes * 4500 + seconds * 75 + frames;
}

// The disc whose whole length is 45:12:30 and whose first tracks last 03:25:10 and 04:00:74; the
// other ten last 03:46:47 each.
cdaudio::Script twelveTrackDisc() {
  std::vector<int> lengths = {frames(3, 25, 10), frames(4, 0, 74)};
  lengths.resize(12, frames(3, 46, 47));
  return discOf(lengths);
}

qint32 time(int minutes, int seconds) {
  return pic::timeValue(0, minutes, seconds);
}

class CdReading : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsFileName = "KVXPro98.INI";
    LoadPreferences();
    clearRecordBuffers();
    for (files::File* f : databaseFiles())
      ASSERT_TRUE(f->create().ok());
    CdTracks.clear();
    ThreadInstance = 0;
    GLO::Side = 0;
  }
  void TearDown() override {
    rt::abandonAll();
    cdaudio::useDrive(nullptr);
    Pref::UseLog = 0;
    EventLog.close();  // it would write on in the next test's folder
    SettingsFileName.clear();
  }
  void insert(const cdaudio::Script& disc) { cdaudio::useDrive(cdaudio::scriptedDrive(disc)); }
  // Reads on a thread of its own, as a window would; false when the read did not end.
  bool read(bool identifierOnly, bool forWizard) {
    return test::runOnThread(
        [this, identifierOnly, forWizard] {
          result = ReadCompactDisc(identifierOnly, forWizard);
          positions = CdPositionTable().size();  // the reading thread's own table
        },
        &done);
  }
  static bool deviceClosed() {
    QString reply;
    return cdaudio::sendString("status cdaudio mode", &reply) == cdaudio::kInvalidDevice;
  }
  struct Song {
    int id, album, side, track;
    const char* title;
  };
  void songs(const std::vector<Song>& list) {
    ASSERT_TRUE(OpenFile(Cantorix));
    for (const Song& s : list) {
      MUS.clear();
      MUS.ID = s.id;
      MUS.AlbumID = s.album;
      MUS.Side = s.side;
      MUS.TrackNumber = s.track;
      MUS.Title = s.title;
      ASSERT_TRUE(Cantorix.add().ok());
    }
    CloseFile(Cantorix);
  }

  test::Workspace ws;
  bool done = true;
  bool result = false;
  size_t positions = 0;
};

TEST(CdTimes, RepliesBecomeTimesToTheSecond) {
  const struct {
    const char* reply;
    qint32 time;
  } cases[] = {
      {"03:25:10", time(3, 25)},
      {"04:59:99", time(5, 0)},  // frames 99 round up, and 60 seconds make a minute
      {"59:59:99", pic::timeValue(1, 0, 0)},
      {"75:30:10", pic::timeValue(1, 15, 30)},
      {"00:00:00", pic::timeValue(0, 0, 0)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CdTimeToTime(c.reply), c.time) << c.reply;
  EXPECT_EQ(CdFrames("04:00:74"), 4 * 4500 + 74);
  EXPECT_EQ(ReplyNumber("12"), 12);
  EXPECT_EQ(ReplyNumber("Error:1"), 0) << "an error reply is no number";
}

TEST_F(CdReading, TheSerialNumberIsTheTrackCountAndTheFirstTimesCutTo24) {
  const struct {
    const char* name;
    cdaudio::Script disc;
    const char* serial;
  } cases[] = {
      {"the twelve-track disc", twelveTrackDisc(), "12271201205012400122601"},
      {"one track: the disc and track 1", discOf({frames(5, 0, 0)}), " 13000130001"},
      {"two tracks", discOf({frames(2, 0, 0), frames(3, 0, 0)}), " 2300011200118001"},
      {"long tracks", discOf(std::vector<int>(4, frames(20, 0, 0))), " 44800011200011200011200"},
  };
  for (const auto& c : cases) {
    insert(c.disc);
    ALB.clear();
    ASSERT_TRUE(read(true, false)) << c.name;
    EXPECT_TRUE(result) << c.name;
    EXPECT_EQ(ALB.CDIdentifier.str(), c.serial) << c.name;
    EXPECT_TRUE(deviceClosed()) << c.name;
  }
}

TEST_F(CdReading, TheCddbIdentifierIsTheOneFreedbKnowsTheDiscBy) {
  const struct {
    const char* name;
    cdaudio::Script disc;
    const char* id;
    qint32 seconds;
  } discs[] = {
      {"a 15-track audio CD",
       discAt({150, 17510, 33275, 45910, 57805, 78310, 94650, 109580, 132010, 149160, 165115, 177710, 203325,
               215555, 235590},
              258725),
       "b60d770f", 3447},
      // Ladyhawke (2008): 12 audio tracks and a data track; its last frames carry past a second.
      {"an enhanced CD",
       discAt({150, 15687, 31841, 51016, 66616, 81352, 99559, 116070, 133243, 149997, 161710, 177832, 207256},
              210535, 13),
       "c60af50d", 2805},
  };
  for (const auto& d : discs) {
    insert(d.disc);
    for (int round = 0; round < 2; ++round) {  // the same disc read twice gives the same answers
      ALB.clear();
      ASSERT_TRUE(read(true, false)) << d.name;
      EXPECT_EQ(ALB.XCCD.str(), d.id) << d.name;
      EXPECT_EQ(ALB.TotalTime.get(), d.seconds * 100) << d.name;
      EXPECT_EQ(positions, d.disc.toc.tracks.size()) << "the table is filled anew";
    }
  }
  EXPECT_TRUE(CdTracks.empty()) << "reading the identifier only reads no tracks";
  EXPECT_EQ(ComputeCddbIdentifier({}).id, "");
}

TEST_F(CdReading, AnEnhancedCdGivesItsAudioTracksWithTheirOwnTimes) {
  insert(
      discAt({150, 15687, 31841, 51016, 66616, 81352, 99559, 116070, 133243, 149997, 161710, 177832, 207256},
             210535, 13));
  ALB.AlbumID = 0;
  ASSERT_TRUE(read(false, false));
  ASSERT_EQ(CdTracks.size(), 12u) << "the data track is no song";
  EXPECT_EQ(CdTracks[0].TrackTime, time(3, 27));  // 15537 frames
  EXPECT_EQ(CdTracks[11].TrackTime, time(4, 0));  // 18024 frames, up to its session's end
  // Tracks 1-11 up to track 12, and track 12's 18024 frames: the data track is left out.
  EXPECT_EQ(ALB.TotalTime.get(), pic::timeValue(0, 0, (177832 - 150 + 18024) / 75))
      << "the album plays its music only";
}

TEST_F(CdReading, AFullReadUpdatesTheAlbumsSongsAndAddsTheMissingTracks) {
  songs({{50, 9, 1, 1, "Other album"}, {60, 7, 2, 11, "Side two"}});
  std::vector<Song> existing;
  for (int t = 1; t <= 10; ++t)
    existing.push_back({t, 7, 1, t, "Song"});
  songs(existing);
  ALB.AlbumID = 7;
  ALB.Artist = "Cure";
  ALB.Album = "Disintegration";
  ALB.Media = "CD";
  ALB.FileNumber = "F-1";
  ALB.ReleaseDate = 1989;
  ALB.CategoryID = 3;
  GLO::Side = 1;
  insert(twelveTrackDisc());
  ASSERT_TRUE(read(false, false));
  ASSERT_TRUE(result);
  EXPECT_TRUE(deviceClosed());
  EXPECT_EQ(ALB.TotalTime.get(), 271201) << "the full read takes the disc's length";
  ASSERT_EQ(CdTracks.size(), 12u);
  EXPECT_EQ(CdTracks[1].TrackTime, time(4, 0));

  ASSERT_TRUE(OpenFile(Cantorix));
  EXPECT_EQ(Cantorix.records(), 14);
  QStringList seen;
  Cantorix.set(Cantorix.KeyID);
  while (Cantorix.next())
    seen << QString("%1:%2:%3:%4:%5:%6")
                .arg(MUS.ID.get())
                .arg(MUS.AlbumID.get())
                .arg(MUS.Side.get())
                .arg(MUS.TrackNumber.get())
                .arg(MUS.Title.str())
                .arg(MUS.Time.get());
  CloseFile(Cantorix);
  EXPECT_EQ(seen.first(), "1:7:1:1:Song:20501") << "an existing song only takes its time";
  EXPECT_EQ(seen[9], "10:7:1:10:Song:22601");
  EXPECT_EQ(seen[10], "50:9:1:1:Other album:0");
  EXPECT_EQ(seen[11], "60:7:2:11:Side two:0") << "the other side is another set of tracks";
  EXPECT_EQ(seen[12], "61:7:1:11:Track 11:22601") << "a new song takes the number after the highest";
  EXPECT_EQ(seen[13], "62:7:1:12:Track 12:22601");
  MUS.ID = 62;
  ASSERT_TRUE(OpenFile(Cantorix));
  ASSERT_TRUE(Cantorix.get(Cantorix.KeyID).ok());
  CloseFile(Cantorix);
  EXPECT_EQ(MUS.Artist.str(), "Cure");
  EXPECT_EQ(MUS.Album.str(), "Disintegration");
  EXPECT_EQ(MUS.Media.str(), "CD");
  EXPECT_EQ(MUS.FileNumber.str(), "F-1");
  EXPECT_EQ(MUS.ReleaseDate.get(), 1989);
  EXPECT_EQ(MUS.CategoryID.get(), 3);
}

TEST_F(CdReading, AWizardReadFillsItsOwnRowsAndKeepsWhatWasTyped) {
  ASSERT_TRUE(OpenFile(AddWizard));
  for (auto [instance, track, title] : {std::tuple{5, 2, "Mine"}, std::tuple{6, 1, "Another wizard's"}}) {
    AW.clear();
    AW.Instance = instance;
    AW.Side = "0";
    AW.Track = track;
    AW.Artist = "Typed";
    AW.Title = title;
    ASSERT_TRUE(AddWizard.add().ok());
  }
  CloseFile(AddWizard);
  ThreadInstance = 5;
  ALB.Artist = "";
  insert(twelveTrackDisc());
  ASSERT_TRUE(read(false, true));
  ASSERT_TRUE(result);

  ASSERT_TRUE(OpenFile(AddWizard));
  QStringList rows;
  AddWizard.set(AddWizard.KeyInstance);
  while (AddWizard.next())
    rows << QString("%1:%2:%3:%4:%5")
                .arg(AW.Instance.get())
                .arg(AW.Track.get())
                .arg(AW.Artist.str(), AW.Title.str())
                .arg(AW.Time.get());
  CloseFile(AddWizard);
  ASSERT_EQ(rows.size(), 13);
  EXPECT_EQ(rows[0], "5:1:Various:Track 1:20501") << "a blank album artist makes a compilation's rows";
  EXPECT_EQ(rows[1], "5:2:Typed:Mine:24001") << "a row already there only takes its time";
  EXPECT_EQ(rows[11], "5:12:Various:Track 12:22601");
  EXPECT_EQ(rows[12], "6:1:Typed:Another wizard's:0");
}

TEST_F(CdReading, ADriveThatCannotBeReadStopsTheReadAndIsClosed) {
  const auto state = [](cdaudio::DriveState st) {
    cdaudio::Script s = twelveTrackDisc();
    s.state = st;
    return s;
  };
  cdaudio::Script inUse = twelveTrackDisc();
  inUse.inUse = true;
  const struct {
    cdaudio::Script disc;
    const char* message;
  } cases[] = {
      {state(cdaudio::DriveState::TrayOpen), "CD player door open."},
      {state(cdaudio::DriveState::NoDisc), "CD player not ready."},
      {inUse, "CD player not available.  Ensure that no other program is using the CD-ROM drive."},
      // Beyond what an audio CD holds: no audio CD at all.
      {discOf(std::vector<int>(100, frames(0, 30, 0))), "CD player not ready."},
      {discOf({frames(50, 0, 0), frames(50, 0, 0)}), "CD player not ready."},
  };
  for (const auto& c : cases) {
    insert(c.disc);
    ALB.clear();
    ALB.AlbumID = 7;  // a read that went on would add the album's songs
    ALB.CDIdentifier = "kept";
    ASSERT_TRUE(read(false, false)) << c.message;
    ASSERT_TRUE(test::messageBox()) << c.message;
    EXPECT_EQ(test::messageBox()->windowTitle(), "Error");
    ASSERT_TRUE(test::answer("OK", c.message));
    ASSERT_TRUE(test::runUntil([this] { return done; }));
    EXPECT_FALSE(result);
    EXPECT_EQ(ALB.CDIdentifier.str(), "kept") << c.message;
    EXPECT_TRUE(deviceClosed()) << c.message;
    EXPECT_FALSE(test::window("Reading CD"));
    ASSERT_TRUE(OpenFile(Cantorix));
    EXPECT_EQ(Cantorix.records(), 0) << c.message;
    CloseFile(Cantorix);
  }
}

TEST_F(CdReading, ADeviceAnotherReadHoldsIsLeftToIt) {
  insert(twelveTrackDisc());
  QString reply;
  ASSERT_EQ(cdaudio::sendString("open cdaudio shareable", &reply), 0);
  ASSERT_TRUE(read(false, false));
  ASSERT_TRUE(test::answer("OK", "CD player not available."));
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_FALSE(result);
  EXPECT_EQ(cdaudio::sendString("status cdaudio number of tracks", &reply), 0) << "still open for its holder";
  EXPECT_EQ(reply, "12");
}

TEST_F(CdReading, AFailingCommandIsLoggedAndTheReadGoesOn) {
  Pref::UseLog = 1;
  cdaudio::Script disc = twelveTrackDisc();
  disc.failures["status cdaudio length track 3"] = cdaudio::kHardware;
  insert(disc);
  ASSERT_TRUE(read(false, false));
  EXPECT_TRUE(result);
  ASSERT_EQ(CdTracks.size(), 12u);
  EXPECT_EQ(CdTracks[3].TrackTime, time(3, 46));
  EXPECT_EQ(ALB.CDIdentifier.str().left(18), "122712012050124001");
  EventLog.close();
  QFile log(ws.file("KVXEvent.LOG"));
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = log.readAll().split('\n');
  ASSERT_GE(lines.size(), 3);
  const QString request = QString::fromUtf8(lines[0]).chopped(1);  // CR LF line ends
  EXPECT_EQ(request.size(), 102);
  EXPECT_EQ(request.mid(22, 30).trimmed(), "MCI Request");
  EXPECT_EQ(request.mid(52).trimmed(), "status cdaudio length track 3");
  EXPECT_EQ(QString::fromUtf8(lines[1]).mid(22, 30).trimmed(), "MCI Return");
  EXPECT_EQ(QString::fromUtf8(lines[2]).mid(22).trimmed().simplified(), "MCI Error 262");
}

TEST_F(CdReading, TheEventLogWritesOnlyWhenAskedAndClosesEvery101Lines) {
  WriteEventLog("MCI Request", "off");
  EXPECT_FALSE(QFile::exists(ws.file("KVXEvent.LOG"))) << "\"UseLog\" off: nothing";
  Pref::UseLog = 1;
  pic::setClock(QDateTime(QDate(2031, 7, 4), QTime(23, 59, 58)));
  WriteEventLog("MCI Request", "first");
  pic::setClock(QDateTime());
  const auto linesUntilClosed = [] {
    int lines = 0;
    while (EventLog.isOpen() && lines < 500) {
      WriteEventLog("MCI Request", "more");
      ++lines;
    }
    return lines;
  };
  linesUntilClosed();  // wherever the count of this run stood
  WriteEventLog("MCI Request", "reopened");
  EXPECT_EQ(1 + linesUntilClosed(), 101);
  QFile log(ws.file("KVXEvent.LOG"));
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  const QString first = QString::fromUtf8(log.readLine()).chopped(2);
  EXPECT_EQ(first.left(12).trimmed(), pic::format(pic::dayNumber(QDate(2031, 7, 4)), "@d3"));
  EXPECT_EQ(first.mid(52).trimmed(), "first");
}

// A drive that notes what the progress window shows each time the device asks it for the disc.
class WatchedDrive : public cdaudio::Drive {
 public:
  WatchedDrive(cdaudio::Script script, QStringList* seen)
      : drive_(cdaudio::scriptedDrive(script)), seen_(seen) {}
  bool acquire() override { return drive_->acquire(); }
  void release() override { drive_->release(); }
  cdaudio::DriveState state() override { return drive_->state(); }
  std::optional<cdaudio::Toc> toc() override {
    if (QWidget* w = test::window("Reading CD")) {
      QStringList shown;
      for (QLabel* l : w->findChildren<QLabel*>())
        if (!l->text().isEmpty()) shown << l->text();
      shown << QString::number(w->findChild<QProgressBar*>()->value());
      if (seen_->isEmpty() || seen_->last() != shown.join(" / ")) *seen_ << shown.join(" / ");
    }
    return drive_->toc();
  }

 private:
  std::unique_ptr<cdaudio::Drive> drive_;
  QStringList* seen_;
};

TEST_F(CdReading, TheProgressWindowFollowsTheRead) {
  QStringList seen;
  cdaudio::useDrive(std::make_unique<WatchedDrive>(discOf(std::vector<int>(30, frames(2, 0, 0))), &seen));
  ASSERT_TRUE(read(false, false));
  ASSERT_TRUE(result);
  ASSERT_FALSE(seen.isEmpty());
  EXPECT_EQ(seen.first(), "Serial Number / 0");
  EXPECT_TRUE(seen.contains("Track 1 of 30 / 4"));
  EXPECT_TRUE(seen.contains("Track 2 of 30 / 8"));
  EXPECT_TRUE(seen.contains("Track 30 of 30 / 100"))
      << "the bar stops at 100: " << seen.join(", ").toStdString();
  EXPECT_FALSE(test::window("Reading CD")) << "the window goes with the read";
}

}  // namespace
