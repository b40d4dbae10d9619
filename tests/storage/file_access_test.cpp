#include "storage/file_access.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "platform/upgrade/upgrade.h"
#include "storage/messages.h"
#include "storage/records.h"
#include "storage/registration.h"
#include "tests/support/other_station.h"
#include "tests/support/raw_database.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::setHaltHandler([this](const QString& text, int) { haltText = text; });
    RegisterFilesWithUpgradePack();
  }
  void TearDown() override {
    rt::abandonAll();
    rt::setHaltHandler(nullptr);
    while (OpenCount(Media) > 0)
      CloseFile(Media);
    while (OpenCount(Album) > 0)
      CloseFile(Album);
  }
  // Runs `body` on a program thread and waits until it ends or shows a message.
  void run(const std::function<void()>& body) { ASSERT_TRUE(test::runOnThread(body, &done)); }
  // A media file holding `names`, written by another program so that this process has not looked
  // the file over yet.
  void mediaFileWith(const QStringList& names) {
    ASSERT_TRUE(Media.create().ok());
    test::RawDatabase raw(Media.path());
    for (const QString& n : names)
      raw.exec("INSERT INTO data(Media) VALUES('" + n + "')");
  }
  // Overwrites the first page of the media name key, as a failing disk would.
  void damageMediaKey() {
    test::RawDatabase raw(Media.path());
    const int root = raw.value("SELECT rootpage FROM sqlite_master WHERE name = 'K_KeyMedia'").toInt();
    const int pageSize = raw.value("PRAGMA page_size").toInt();
    ASSERT_GT(root, 1);
    test::damageFile(Media.path(), qint64(root - 1) * pageSize, 64);
  }
  static QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QStringList mediaInKeyOrder() {
    QStringList names;
    Media.set(Media.KeyMedia);
    while (Media.next().ok())
      names << MED.Media.str();
    return names;
  }

  test::Workspace ws;
  QString haltText;
  bool done = false;
};

TEST_F(FileAccess, AMissingFileIsCreatedAndTheCrashMarkerIsEmptyAfterwards) {
  bool opened = false;
  run([&] { opened = OpenFile(Media); });
  EXPECT_TRUE(opened);
  EXPECT_TRUE(QFile::exists(ws.file("kvxmedia.tps")));
  EXPECT_TRUE(Media.isOpen());
  EXPECT_EQ(CrashMarker(), "");
}

TEST_F(FileAccess, OpenCountsOpenOnceAndCloseWithTheLastUser) {
  run([] {
    OpenFile(Media);
    OpenFile(Media);
  });
  EXPECT_EQ(OpenCount(Media), 2);
  CloseFile(Media);
  EXPECT_TRUE(Media.isOpen());
  CloseFile(Media);
  EXPECT_FALSE(Media.isOpen());
  CloseFile(Media);
  EXPECT_EQ(OpenCount(Media), 0);
}

TEST_F(FileAccess, AFileThatIsNotOursIsReportedAndLeftAsItIs) {
  test::writeFile(ws.file("kvxalbum.tps"), "my own notes, not a database\n");
  run([] { OpenFile(Album); });
  EXPECT_EQ(test::messageTexts(),
            QStringList({"File (Album) could not be opened.  Error: Invalid Data File (36)."}));
  ASSERT_TRUE(test::answer("OK"));
  ASSERT_TRUE(test::runUntil([this] { return !haltText.isEmpty(); }));
  EXPECT_EQ(haltText, "Disk Error");
  EXPECT_FALSE(done) << "the program ends after the message";
  EXPECT_EQ(test::readFile(ws.file("kvxalbum.tps")), "my own notes, not a database\n");
}

TEST_F(FileAccess, ErrorTextsNameTheRuntimeOrTheDriversCode) {
  EXPECT_EQ(ErrorText(files::Status::error(files::kFileNotFound)), "File Not Found (2)");
  EXPECT_EQ(ErrorText(files::Status::driver(11, "database disk image is malformed")),
            "database disk image is malformed (11)");
}

TEST_F(FileAccess, ASavedErrorIsShownInsteadOfTheLaterOneOnce) {
  SaveError(files::Status::error(files::kChangedByOther));
  run([] {
    StandardMessage(15, {.file = "Cantorix", .error = files::Status::error(files::kNoRecord)});
    StandardMessage(17, {.file = "Cantorix", .error = files::Status::error(files::kNoRecord)});
  });
  EXPECT_EQ(test::messageTexts(), QStringList({"This record was changed by another station."}));
  ASSERT_TRUE(test::answer("OK"));
  EXPECT_EQ(
      test::messageTexts(),
      QStringList({"An error (Record Not Available (33)) was experienced when attempting to delete a record "
                   "from the file Cantorix."}));
  ASSERT_TRUE(test::answer("OK"));
}

TEST_F(FileAccess, AFileLockedByAnotherStationIsWaitedForOnceMore) {
  ASSERT_TRUE(Media.create().ok());
  test::OtherStation other;
  ASSERT_TRUE(other.start({"lock", Media.path(), "6000"}));  // the usual wait and more
  bool opened = false;
  run([&] { opened = OpenFile(Media); });
  EXPECT_TRUE(opened);
  EXPECT_EQ(test::messageTexts(), QStringList());
  EXPECT_EQ(CrashMarker(), "");
  EXPECT_EQ(other.finish(), 0);
}

TEST_F(FileAccess, AFileThatStaysLockedIsReportedAfterTheLongerWait) {
  ASSERT_TRUE(Media.create().ok());
  test::OtherStation other;
  ASSERT_TRUE(other.start({"lock", Media.path(), "600000"}));  // never lets go while the test runs
  QElapsedTimer clock;
  clock.start();
  run([] { OpenFile(Media); });
  ASSERT_TRUE(test::answer("OK", "File (Media) could not be opened.  Error: File Is Already Locked (32)."))
      << test::messageTexts().join("\n").toStdString();
  EXPECT_GE(clock.elapsed(), 12000) << "the usual 2 s and the 10 s of Recover=10";
  ASSERT_TRUE(test::runUntil([this] { return !haltText.isEmpty(); }));
  EXPECT_EQ(haltText, "Disk Error");
  EXPECT_EQ(CrashMarker(), "kvxmedia");
}

TEST_F(FileAccess, ADamagedKeyIsRebuiltWhenTheUserAgrees) {
  mediaFileWith({"LP", "CD", "Other", "EP"});
  damageMediaKey();
  bool opened = false;
  run([&] { opened = OpenFile(Media); });
  ASSERT_EQ(test::messageTexts(),
            QStringList({"Media key file is invalid.  Do you want to rebuild the key?"}));
  EXPECT_EQ(CrashMarker(), "kvxmedia") << "the open is still in progress";
  ASSERT_TRUE(test::answer("Yes"));
  ASSERT_TRUE(test::runUntil([&] { return done; }));
  EXPECT_TRUE(opened);
  EXPECT_EQ(CrashMarker(), "");
  EXPECT_EQ(mediaInKeyOrder(), QStringList({"CD", "EP", "LP", "Other"}));
  EXPECT_EQ(Media.records(), 4);
}

TEST_F(FileAccess, RefusingToRebuildADamagedKeyEndsTheProgramWithTheMarkerSet) {
  mediaFileWith({"CD", "LP"});
  damageMediaKey();
  run([] { OpenFile(Media); });
  ASSERT_TRUE(test::answer("No", "key file is invalid"));
  ASSERT_TRUE(test::runUntil([this] { return !haltText.isEmpty(); }));
  EXPECT_EQ(haltText, "Invalid Key!");
  EXPECT_EQ(CrashMarker(), "kvxmedia") << "the next start notices the file";
}

// The media file as an earlier version of the program laid it out: a wider name and a code.
struct OldMediaRecord : files::Record {
  OldMediaRecord() : Record("MED") {}
  files::String<30> Media{this, "Media"};
  files::Long Code{this, "Code"};
};
struct OldMediaFile : files::File {
  OldMediaFile(OldMediaRecord& r, int version) : File(r, "Media", "kvxmedia", version), buf(r) {}
  OldMediaRecord& buf;
  files::Key KeyMedia{this, "KeyMedia", {&buf.Media}, files::kUnique | files::kOptional};
};

TEST_F(FileAccess, AFileOfAnOlderLayoutIsUpgradedKeepingEveryRecord) {
  OldMediaRecord old;
  OldMediaFile oldFile(old, 0);
  ASSERT_TRUE(oldFile.create().ok() && oldFile.open().ok());
  for (const char* name : {"CD", "Cassette (Prerecorded)", "Minidisc"}) {
    old.Media = name;
    old.Code = 7;
    ASSERT_TRUE(oldFile.add().ok());
  }
  oldFile.close();
  bool opened = false;
  run([&] { opened = OpenFile(Media); });
  EXPECT_TRUE(opened);
  EXPECT_EQ(test::messageTexts(), QStringList());
  EXPECT_EQ(mediaInKeyOrder(), QStringList({"Cassette (Prerecorde", "CD", "Minidisc"}));
  ASSERT_TRUE(Media.get(2).ok()) << "records keep their positions";
  EXPECT_EQ(MED.Media.str(), "Cassette (Prerecorde");
}

TEST_F(FileAccess, AFileOfANewerVersionIsNeverConvertedBack) {
  OldMediaRecord newer;
  OldMediaFile newerFile(newer, 2);
  ASSERT_TRUE(newerFile.create().ok() && newerFile.open().ok());
  newer.Media = "Blu-ray";
  ASSERT_TRUE(newerFile.add().ok());
  newerFile.close();
  run([] { OpenFile(Media); });
  ASSERT_TRUE(test::answer("OK", "Error: (Invalid Record Declaration (47)) accessing Media."));
  ASSERT_TRUE(test::runUntil([this] { return !haltText.isEmpty(); }));
  EXPECT_EQ(haltText, "Invalid File!");
  EXPECT_EQ(CrashMarker(), "");
  ASSERT_TRUE(newerFile.open().ok()) << "the newer program can still use its file";
  EXPECT_EQ(newerFile.records(), 1);
  newerFile.close();
}

TEST_F(FileAccess, AFileMadeForAnotherLabelIsUnreadableAndNeverUpgraded) {
  // Album records under the songs file's name, as a repair from the wrong example once left them:
  // their structure version is below the songs', so they looked like songs of an older layout.
  ASSERT_TRUE(Album.create().ok());
  test::RawDatabase(Album.path()).exec("INSERT INTO data(AlbumID, Album, Media) VALUES(1, 'Gold', 'CD')");
  ASSERT_TRUE(QFile::copy(Album.path(), Cantorix.path()));
  const QByteArray before = fileBytes(Cantorix.path());
  run([] { OpenFile(Cantorix); });
  EXPECT_EQ(test::messageTexts(),
            QStringList({"File (Cantorix) could not be opened.  Error: Invalid Data File (36)."}));
  ASSERT_TRUE(test::answer("OK"));
  ASSERT_TRUE(test::runUntil([this] { return !haltText.isEmpty(); }));
  EXPECT_EQ(haltText, "Disk Error");
  EXPECT_EQ(fileBytes(Cantorix.path()), before) << "the file is left exactly as it was";
}

TEST_F(FileAccess, DamagedRecordsAreReportedAndTheFileLeftForRepair) {
  mediaFileWith({"CD", "LP"});
  const QByteArray before = test::readFile(Media.path()).toLatin1();
  {
    test::RawDatabase raw(Media.path());
    const int root = raw.value("SELECT rootpage FROM sqlite_master WHERE name = 'data'").toInt();
    test::damageFile(Media.path(), qint64(root - 1) * raw.value("PRAGMA page_size").toInt(), 64);
  }
  run([] { OpenFile(Media); });
  ASSERT_TRUE(test::answer("OK", "File (Media) could not be opened."));
  ASSERT_TRUE(test::runUntil([this] { return !haltText.isEmpty(); }));
  EXPECT_EQ(haltText, "Disk Error");
  EXPECT_TRUE(QFile::exists(Media.path()));
}

TEST_F(FileAccess, AnExampleFileHasTheDeclaredLayoutAndNoRecords) {
  mediaFileWith({"CD"});
  EXPECT_EQ(upgrade::ds_MakeTPE(Media), "0");
  ASSERT_TRUE(QFile::exists(ws.file("kvxmedia.tpe")));
  test::RawDatabase example(ws.file("kvxmedia.tpe"));
  EXPECT_EQ(example.value("SELECT count(*) FROM data"), "0");
  EXPECT_EQ(example.value("SELECT value FROM _kvx_file WHERE item = 'layout'"), Media.layout());
  EXPECT_EQ(upgrade::ds_MakeTPE(A_Songs), "0") << "an alias is known by its data file";
  OldMediaRecord r;
  OldMediaFile unknown(r, 1);
  struct Unannounced : files::File {
    explicit Unannounced(OldMediaRecord& r) : File(r, "Stray", "stray", 1) {}
  } stray(r);
  EXPECT_EQ(upgrade::ds_MakeTPE(stray), "1");
}

}  // namespace
