#include "storage/auto_number.h"

#include <gtest/gtest.h>

#include "platform/runtime/threads.h"
#include "storage/records.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

class AutoNumber : public ::testing::Test {
 protected:
  void SetUp() override {
    clearRecordBuffers();
    for (files::File* f : {static_cast<files::File*>(&Cantorix), static_cast<files::File*>(&Categories)}) {
      ASSERT_TRUE(f->create().ok());
      ASSERT_TRUE(f->open().ok());
    }
  }
  void TearDown() override {
    rt::abandonAll();
    Cantorix.close();
    Categories.close();
  }
  // Runs NumberAndAdd on a program thread, as a form does.
  bool numberAndAdd(files::File& f) {
    bool done = false, added = false;
    rt::start([&] {
      added = NumberAndAdd(f);
      done = true;
    });
    EXPECT_TRUE(test::runUntil([&] { return done || test::messageBox(); }));
    return added;
  }
  // Adds a song of album `album`, side `side`; gives its number and track.
  std::pair<int, int> addSong(int album, int side) {
    MUS.clear();
    MUS.AlbumID = album;
    MUS.Side = side;
    EXPECT_TRUE(numberAndAdd(Cantorix));
    return {MUS.ID.get(), MUS.TrackNumber.get()};
  }
  test::Workspace ws;
};

TEST_F(AutoNumber, SongsAreNumberedInTheFileAndTracksWithinTheirAlbumSide) {
  EXPECT_EQ(addSong(0, 0), std::make_pair(1, 1)) << "the very first song";
  EXPECT_EQ(addSong(7, 1), std::make_pair(2, 1));
  EXPECT_EQ(addSong(7, 1), std::make_pair(3, 2));
  EXPECT_EQ(addSong(7, 2), std::make_pair(4, 1));
  EXPECT_EQ(addSong(3, 1), std::make_pair(5, 1)) << "a lower album does not see album 7's tracks";
  EXPECT_EQ(addSong(7, 1), std::make_pair(6, 3));
  EXPECT_EQ(Cantorix.records(), 6);
}

TEST_F(AutoNumber, AfterThreeFailedAddsTheUserChoosesWhetherToGoOn) {
  CAT.CategoryID = 1;
  CAT.Category = "Rock";
  ASSERT_TRUE(Categories.add().ok());
  CAT.clear();
  CAT.Category = "ROCK";  // every add breaks the unique name key
  bool done = false, added = true;
  rt::start([&] {
    added = NumberAndAdd(Categories);
    done = true;
  });
  ASSERT_TRUE(test::answer("Retry", "Attempts to automatically number this record have failed."));
  ASSERT_TRUE(test::answer("Cancel", "Attempts to automatically number this record have failed."));
  ASSERT_TRUE(test::runUntil([&] { return done; }));
  EXPECT_FALSE(added);
  EXPECT_EQ(CAT.Category.str(), "ROCK") << "the prepared record is back in the buffer";
  EXPECT_EQ(Categories.records(), 1);
}

}  // namespace
