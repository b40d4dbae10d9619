#include "storage/integrity.h"

#include <gtest/gtest.h>

#include "platform/files/transaction.h"
#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "storage/file_access.h"
#include "storage/records.h"
#include "tests/support/other_station.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

class Integrity : public ::testing::Test {
 protected:
  void SetUp() override {
    clearRecordBuffers();
    for (files::File* f :
         {static_cast<files::File*>(&Cantorix), static_cast<files::File*>(&Album),
          static_cast<files::File*>(&Categories), static_cast<files::File*>(&Media),
          static_cast<files::File*>(&PlaylistMaster), static_cast<files::File*>(&PlaylistDetails)})
      ASSERT_TRUE(OpenFile(*f));
  }
  void TearDown() override {
    rt::abandonAll();
    for (files::File* f : {static_cast<files::File*>(&Cantorix), static_cast<files::File*>(&Album),
                           static_cast<files::File*>(&Categories), static_cast<files::File*>(&Media),
                           static_cast<files::File*>(&PlaylistMaster),
                           static_cast<files::File*>(&PlaylistDetails), static_cast<files::File*>(&A_Songs)})
      while (OpenCount(*f) > 0)
        CloseFile(*f);
  }

  void category(int id, const char* name) {
    CAT.CategoryID = id;
    CAT.Category = name;
    ASSERT_TRUE(Categories.add().ok());
  }
  void album(int id, const char* fileNumber, int categoryID = 0) {
    ALB.clear();
    ALB.AlbumID = id;
    ALB.Album = QString("Album %1").arg(id);
    ALB.FileNumber = fileNumber;
    ALB.CategoryID = categoryID;
    ASSERT_TRUE(Album.add().ok());
  }
  void song(int id, int albumID = 0, const char* fileNumber = "", int categoryID = 0,
            const char* media = "CD") {
    MUS.clear();
    MUS.ID = id;
    MUS.Title = QString("Song %1").arg(id);
    MUS.AlbumID = albumID;
    MUS.TrackNumber = id;
    MUS.FileNumber = fileNumber;
    MUS.CategoryID = categoryID;
    MUS.Media = media;
    ASSERT_TRUE(Cantorix.add().ok());
  }
  void inPlaylist(int playlist, int seq, int songID) {
    PLA.PlaylistID = playlist;
    PLA.PlaylistSeq = seq;
    PLA.ID = songID;
    ASSERT_TRUE(PlaylistDetails.add().ok());
  }
  // Reads the record of `file` whose `key` holds the buffer's values, as a browse does before it
  // calls a form.
  static void read(files::File& file, files::Key& key) { ASSERT_TRUE(file.get(key).ok()); }

  // Runs `body` on a program thread and waits until it ends or asks something.
  void run(const std::function<void()>& body) { ASSERT_TRUE(test::runOnThread(body, &done)); }
  QList<int> songIDs() {
    QList<int> ids;
    Cantorix.set(Cantorix.KeyID);
    while (Cantorix.next().ok())
      ids << MUS.ID;
    return ids;
  }

  test::Workspace ws;
  bool done = false;
};

TEST_F(Integrity, ACategoryInUseIsNotDeletedAndTheMessageNamesTheFileThatUsesIt) {
  category(1, "Used by songs");
  category(2, "Used by albums");
  category(3, "Unused");
  song(1, 0, "", 1);
  album(1, "", 2);
  const struct {
    int category;
    const char* namedFile;
  } cases[] = {{1, "Cantorix"}, {2, "Album"}};
  for (const auto& c : cases) {
    CAT.CategoryID = c.category;
    read(Categories, Categories.KeyCategoryID);
    bool deleted = true;
    run([&] { deleted = RIDelete(Categories); });
    EXPECT_EQ(test::messageTexts(),
              QStringList(
                  {QString("This record is referenced from the file %1.  This record cannot be deleted while "
                           "these references exist.")
                       .arg(c.namedFile)}));
    ASSERT_TRUE(test::answer("OK"));
    EXPECT_FALSE(deleted);
  }
  CAT.CategoryID = 3;
  read(Categories, Categories.KeyCategoryID);
  bool deleted = false;
  run([&] { deleted = RIDelete(Categories); });
  EXPECT_TRUE(deleted);
  EXPECT_EQ(Categories.records(), 2);
}

TEST_F(Integrity, RenamingAMediaRenamesItInEverySongButNotToANameThatExists) {
  for (const char* m : {"Cassette (DBX)", "LP"}) {
    MED.Media = m;
    ASSERT_TRUE(Media.add().ok());
  }
  song(1, 0, "", 0, "Cassette (DBX)");
  song(2, 0, "", 0, "cassette (dbx)");
  song(3, 0, "", 0, "LP");

  MED.Media = "LP";
  read(Media, Media.KeyMedia);
  MED.Media = "Cassette (DBX)";
  UpdateResult result = UpdateResult::Done;
  run([&] { result = RIUpdate(Media, true); });
  ASSERT_TRUE(test::answer("OK", "Creates Duplicate Key (40)"));
  EXPECT_EQ(result, UpdateResult::Failed);
  MUS.ID = 3;
  read(Cantorix, Cantorix.KeyID);
  EXPECT_EQ(MUS.Media.str(), "LP") << "no song changes when the media record cannot";

  MED.Media = "Cassette (DBX)";
  read(Media, Media.KeyMedia);
  MED.Media = "Cassette (dbx NR)";
  run([&] { result = RIUpdate(Media, true); });
  EXPECT_EQ(result, UpdateResult::Done);
  QStringList media;
  Cantorix.set(Cantorix.KeyID);
  while (Cantorix.next().ok())
    media << MUS.Media.str();
  EXPECT_EQ(media, QStringList({"Cassette (dbx NR)", "Cassette (dbx NR)", "LP"}));
}

TEST_F(Integrity, ACategoryNumberAlbumsUseStaysAndSongsFollowOtherChanges) {
  category(1, "Rock");
  category(2, "Jazz");
  album(1, "", 1);
  song(1, 0, "", 2);
  song(2, 0, "", 2);

  CAT.CategoryID = 1;
  read(Categories, Categories.KeyCategoryID);
  CAT.CategoryID = 9;
  UpdateResult result = UpdateResult::Done;
  run([&] { result = RIUpdate(Categories, true); });
  ASSERT_TRUE(test::answer("OK", "referenced from the file Album.  Linking field(s) have been restricted"));
  EXPECT_EQ(result, UpdateResult::Failed);
  EXPECT_EQ(CAT.CategoryID.get(), 1) << "the old number is put back";

  CAT.CategoryID = 2;
  read(Categories, Categories.KeyCategoryID);
  CAT.CategoryID = 7;
  run([&] { result = RIUpdate(Categories, true); });
  EXPECT_EQ(result, UpdateResult::Done);
  MUS.CategoryID = 7;
  Cantorix.setFrom(Cantorix.SongsByCategory);
  int moved = 0;
  while (Cantorix.next().ok() && MUS.CategoryID == 7)
    ++moved;
  EXPECT_EQ(moved, 2);
}

TEST_F(Integrity, PlaylistsTakeTheirEntriesAndKeepTheirSongs) {
  song(1);
  song(2);
  PLD.PlaylistID = 1;
  PLD.PlaylistDescription = "Party";
  ASSERT_TRUE(PlaylistMaster.add().ok());
  inPlaylist(1, 1, 1);
  inPlaylist(1, 2, 2);
  inPlaylist(2, 1, 2);

  MUS.ID = 2;
  read(Cantorix, Cantorix.KeyID);
  bool deleted = true;
  run([&] { deleted = RIDelete(Cantorix); });
  ASSERT_TRUE(test::answer("OK", "referenced from the file PlaylistDetails."));
  EXPECT_FALSE(deleted);

  PLD.PlaylistID = 1;
  read(PlaylistMaster, PlaylistMaster.KeyPlaylistID);
  run([&] { deleted = RIDelete(PlaylistMaster); });
  EXPECT_TRUE(deleted);
  EXPECT_EQ(PlaylistDetails.records(), 1) << "only the other playlist's entry is left";
  EXPECT_EQ(Cantorix.records(), 2);
}

TEST_F(Integrity, DeletingAnAlbumTakesItsSongsByFileNumberThenByNumber) {
  album(1, "F-1");
  album(2, "");
  song(1, 1);         // by number
  song(2, 0, "F-1");  // by file number only
  song(3, 2);         // of the album with no file number
  song(4, 0, "");     // belongs to nothing

  ALB.AlbumID = 2;
  read(Album, Album.KeyAlbumID);
  bool deleted = false;
  run([&] { deleted = RIDelete(Album); });
  EXPECT_TRUE(deleted);
  EXPECT_EQ(songIDs(), QList<int>({1, 2, 4})) << "a blank file number takes no song by file number";

  ALB.AlbumID = 1;
  read(Album, Album.KeyAlbumID);
  run([&] { deleted = RIDelete(Album); });
  EXPECT_TRUE(deleted);
  EXPECT_EQ(songIDs(), QList<int>({4}));
  EXPECT_EQ(Album.records(), 0);
}

TEST_F(Integrity, AnAlbumWithASongInAPlaylistIsKeptWhole) {
  album(1, "F-1");
  song(1, 0, "F-1");
  song(2, 0, "F-1");
  song(3, 1);
  inPlaylist(5, 1, 3);
  ALB.AlbumID = 1;
  read(Album, Album.KeyAlbumID);
  bool deleted = true;
  run([&] { deleted = RIDelete(Album); });
  ASSERT_TRUE(test::answer("OK", "referenced from the file PlaylistDetails."));
  EXPECT_FALSE(deleted);
  EXPECT_EQ(songIDs(), QList<int>({1, 2, 3})) << "the songs taken by file number are back";
  EXPECT_EQ(Album.records(), 1);
}

TEST_F(Integrity, SongsFollowTheirAlbumsNewFileNumberAndNumber) {
  album(1, "F-1");
  song(1, 1, "F-1");
  song(2, 0, "F-1");
  song(3, 1, "");
  ALB.AlbumID = 1;
  read(Album, Album.KeyAlbumID);
  ALB.FileNumber = "F-9";
  ALB.AlbumID = 9;
  UpdateResult result = UpdateResult::Failed;
  run([&] { result = RIUpdate(Album, true); });
  EXPECT_EQ(result, UpdateResult::Done);
  QStringList seen;
  Cantorix.set(Cantorix.KeyID);
  while (Cantorix.next().ok())
    seen << QString("%1:%2:%3").arg(MUS.ID).arg(MUS.AlbumID).arg(MUS.FileNumber.str());
  EXPECT_EQ(seen, QStringList({"1:9:F-9", "2:0:F-9", "3:9:"}));
}

TEST_F(Integrity, ASongChangedByAnotherStationIsReadAgainNotOverwritten) {
  song(1);
  MUS.ID = 1;
  Cantorix.watch();
  read(Cantorix, Cantorix.KeyID);
  test::OtherStation other;
  ASSERT_TRUE(other.start({"retitle", "1", "Their title"}));
  ASSERT_EQ(other.finish(), 0);
  MUS.Title = "My title";
  UpdateResult result = UpdateResult::Done;
  run([&] { result = RIUpdate(Cantorix, true); });
  EXPECT_EQ(
      test::messageTexts(),
      QStringList({"This record was changed by another station. Those changes will now be displayed. Use the "
                   "Ditto Button or Ctrl+' to recall your changes."}));
  ASSERT_TRUE(test::answer("OK"));
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(result, UpdateResult::Reread);
  EXPECT_EQ(MUS.Title.str(), "Their title");
  MUS.Title = "My title again";
  run([&] { result = RIUpdate(Cantorix, false); });
  EXPECT_EQ(result, UpdateResult::Done) << "the re-read record is watched again";
}

TEST_F(Integrity, AWriterHeldPastTheWaitCancelsTheTransaction) {
  song(1);
  MUS.ID = 1;
  read(Cantorix, Cantorix.KeyID);
  test::OtherStation other;
  ASSERT_TRUE(other.start({"hold", "4000"}));
  UpdateResult result = UpdateResult::Done;
  run([&] { result = RIUpdate(Cantorix, true); });
  EXPECT_EQ(test::messageTexts(),
            QStringList({"Error: (File Is Already Locked (32)) attempting to frame the update transaction on "
                         "Cantorix.  Update transaction cancelled."}));
  ASSERT_TRUE(test::answer("OK"));
  EXPECT_EQ(result, UpdateResult::Failed);
  EXPECT_EQ(other.finish(), 0);
}

TEST_F(Integrity, AStationKilledInTheMiddleOfACascadeLeavesEveryFileAsItWas) {
  // Album 1 takes 1500 songs by file number and 1500 by number; it goes in one transaction.
  const int kSongs = 3000;
  int kills = 0;
  for (const int steps : {300, 3000, 30000}) {
    ASSERT_TRUE(files::beginTransaction(2000, {&Cantorix, &Album}).ok());
    Cantorix.set(Cantorix.KeyID);
    album(1, "F-1");
    for (int id = 1; id <= kSongs; ++id)
      song(id, id % 2 ? 1 : 0, id % 2 ? "" : "F-1");
    ASSERT_TRUE(files::commit().ok());
    ASSERT_EQ(Cantorix.records(), kSongs);

    test::OtherStation other;
    ASSERT_TRUE(other.start({"die-deleting", "1", QString::number(steps)}));
    other.finish();
    const bool killed = other.exitCode() != 4;
    kills += killed;
    // Whatever the station left half done, its journal undoes on the next read.
    const qint64 songsLeft = Cantorix.records(), albumsLeft = Album.records();
    if (killed) {
      EXPECT_EQ(songsLeft, kSongs) << "killed after " << steps << " steps";
      EXPECT_EQ(albumsLeft, 1);
    } else {
      EXPECT_EQ(songsLeft, 0) << "finished before " << steps << " steps";
      EXPECT_EQ(albumsLeft, 0);
    }
    EXPECT_EQ(songIDs().size(), songsLeft) << "the keys agree with the records";
    // Start the next round from empty files.
    ASSERT_TRUE(files::beginTransaction(2000, {&Cantorix, &Album}).ok());
    Cantorix.set(Cantorix.KeyID);
    while (Cantorix.next().ok())
      ASSERT_TRUE(Cantorix.remove().ok());
    Album.set(Album.KeyAlbumID);
    while (Album.next().ok())
      ASSERT_TRUE(Album.remove().ok());
    ASSERT_TRUE(files::commit().ok());
  }
  EXPECT_GE(kills, 2) << "the early kill points land inside the transaction";
}

}  // namespace
