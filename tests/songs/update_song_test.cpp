#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>

#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "platform/settings/settings_file.h"
#include "songs/songs.h"
#include "storage/file_access.h"
#include "storage/records.h"
#include "storage/requests.h"
#include "storage/settings.h"
#include "tests/support/other_station.h"
#include "tests/support/raw_database.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

class SongForm : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsFileName = "KVXPro98.INI";
    LoadPreferences();
    clearRecordBuffers();
    for (files::File* f : databaseFiles()) {
      const files::Status s = f->create();
      ASSERT_TRUE(s.ok()) << f->label().toStdString() << ": " << s.text.toStdString() << " "
                          << s.driverText.toStdString() << " open " << OpenCount(*f);
    }
    for (files::File* f : {(files::File*)&Cantorix, (files::File*)&Media, (files::File*)&Categories,
                           (files::File*)&Album, (files::File*)&PlaylistDetails})
      ASSERT_TRUE(OpenFile(*f));
    for (const char* m : {"CD", "LP", "Cassette (DBX)"}) {
      MED.Media = m;
      ASSERT_TRUE(Media.add().ok());
    }
    CAT.CategoryID = 1;
    CAT.Category = "Rock";
    ASSERT_TRUE(Categories.add().ok());
  }
  void TearDown() override {
    if (QWidget* w = form()) w->close();
    test::runUntil([this] { return done; });
    rt::abandonAll();
    for (files::File* f : {(files::File*)&Cantorix, (files::File*)&Media, (files::File*)&Categories,
                           (files::File*)&Album, (files::File*)&PlaylistDetails})
      while (OpenCount(*f))
        CloseFile(*f);
    SettingsFileName.clear();
  }
  // Adds a song straight to the file.
  void song(int id, const char* title) {
    MUS.clear();
    MUS.ID = id;
    MUS.Artist = "Cure";
    MUS.Title = title;
    MUS.Media = "CD";
    ASSERT_TRUE(Cantorix.add().ok());
  }
  // Calls the form as a browse does: the request set, the record in the buffer.
  void call(int request, int songID = 0) {
    if (songID) {
      MUS.ID = songID;
      ASSERT_TRUE(Cantorix.get(Cantorix.KeyID).ok());
    } else {
      MUS.clear();
    }
    done = false;
    response = 0;
    rt::start([this, request] {
      GlobalRequest = request;
      UpdateSong();
      response = GlobalResponse;
      done = true;
    });
    ASSERT_TRUE(test::runUntil([this] { return done || form() || test::messageBox(); }));
  }
  QWidget* form() const {
    for (const char* t : {"Adding Information", "Changing Information"})
      if (QWidget* w = test::window(t)) return w;
    return nullptr;
  }
  QWidget* field(const char* prompt) { return test::fieldByPrompt(form(), prompt); }
  void ok() { test::click(test::button(form(), "&OK")); }
  void readSong(int id) {
    MUS.ID = id;
    ASSERT_TRUE(Cantorix.get(Cantorix.KeyID).ok()) << id;
  }

  test::Workspace ws;
  bool done = true;
  int response = 0;
};

TEST_F(SongForm, ANewSongIsNumberedAndSavedWithWhatWasTyped) {
  call(InsertRecord);
  ASSERT_TRUE(form());
  EXPECT_EQ(Cantorix.records(), 1) << "the new song is in the file while the form is open";
  test::enter(field("&Artist:"), "Cure");
  test::enter(field("&Title:"), "Lullaby");
  test::enter(field("T&ime:"), "3:45");
  EXPECT_EQ(static_cast<QLineEdit*>(field("T&ime:"))->text(), "00:03:45") << "minutes and seconds, not hours";
  ok();
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(response, RequestCompleted);
  readSong(1);
  EXPECT_EQ(MUS.Title.str(), "Lullaby");
  EXPECT_EQ(MUS.TrackNumber, 1);
  EXPECT_EQ(MUS.Media.str(), "CD");
  EXPECT_EQ(MUS.Time, 3 * 6000 + 45 * 100 + 1);
  EXPECT_EQ(LastButton.str(), "OK");
}

TEST_F(SongForm, TimesOfTwoHoursOrLessStayAsTyped) {
  song(1, "Epic");
  call(ChangeRecord, 1);
  test::enter(field("T&ime:"), "1:30");
  ok();
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  readSong(1);
  EXPECT_EQ(MUS.Time, 90 * 6000 + 1);
}

TEST_F(SongForm, AnotherStationsChangeWhileTheFormIsOpenIsShownNotOverwritten) {
  song(1, "Lullaby");
  call(ChangeRecord, 1);
  test::OtherStation other;
  ASSERT_TRUE(other.start({"retitle", "1", "Their title"}));
  ASSERT_EQ(other.finish(), 0);
  test::enter(field("&Title:"), "My title");
  ok();
  ASSERT_TRUE(test::answer("OK", "This record was changed by another station."));
  ASSERT_TRUE(form()) << "the form stays open with the other station's record";
  EXPECT_EQ(static_cast<QLineEdit*>(field("&Title:"))->text(), "Their title");
  test::pressKey(field("&Title:"), Qt::Key_Apostrophe, Qt::ControlModifier);
  test::settle();
  EXPECT_EQ(static_cast<QLineEdit*>(field("&Title:"))->text(), "My title")
      << "the ditto key recalls the typing";
  ok();
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(response, RequestCompleted);
  readSong(1);
  EXPECT_EQ(MUS.Title.str(), "My title");
}

TEST_F(SongForm, ASongAnotherStationDeletedMeanwhileIsNotSavedAgain) {
  song(1, "Lullaby");
  call(ChangeRecord, 1);
  ASSERT_EQ(test::RawDatabase("kvxdata.tps").exec("DELETE FROM data WHERE _pos = 1"), SQLITE_OK);
  test::enter(field("&Title:"), "My title");
  ok();
  ASSERT_TRUE(test::answer("OK", "attempting to update a record from the file.  Probable Cause: Cantorix"));
  ASSERT_TRUE(test::answer("No", "Do you want to try to save again?"));
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(response, RequestCancelled);
  EXPECT_EQ(Cantorix.records(), 0) << "nothing written back";
}

TEST_F(SongForm, AnotherWindowReadingSongsWhileTheFormIsOpenDoesNotRedirectItsSave) {
  song(1, "Lullaby");
  song(2, "Lovesong");
  call(ChangeRecord, 1);
  test::enter(field("&Title:"), "Lullaby (live)");
  bool read = false;
  rt::start([&read] {  // another browse scrolling meanwhile
    MUS.ID = 2;
    read = Cantorix.get(Cantorix.KeyID).ok();
  });
  ASSERT_TRUE(test::runUntil([&read] { return read; }));
  ok();
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(response, RequestCompleted);
  readSong(1);
  EXPECT_EQ(MUS.Title.str(), "Lullaby (live)");
  readSong(2);
  EXPECT_EQ(MUS.Title.str(), "Lovesong");
}

TEST_F(SongForm, TheMediaListShowsTheSongsOwnMediaAndAnUnchangedOkWritesNothing) {
  const struct {
    const char* media;
    const char* shown;
  } cases[] = {{"cd", "CD"}, {"MiniDisc", "MiniDisc"}};
  int id = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.media);
    song(++id, "Lullaby");
    MUS.Media = c.media;
    ASSERT_TRUE(Cantorix.put().ok());
    const auto changeCount = [id] {
      return test::RawDatabase("kvxdata.tps").value(QString("SELECT _chg FROM data WHERE _pos = %1").arg(id));
    };
    const QString before = changeCount();
    call(ChangeRecord, id);
    EXPECT_EQ(static_cast<QComboBox*>(field("&Media:"))->currentText(), c.shown);
    ok();
    if (QString(c.media) == "MiniDisc")  // not in the Media file: the form says so and stays
      ASSERT_TRUE(test::answer("OK", "The value for Media must be found in the Media file."));
    else
      ASSERT_TRUE(test::runUntil([this] { return done; }));
    EXPECT_EQ(changeCount(), before) << "nothing was written";
    if (!done) test::click(test::button(form(), "Cancel"));
    ASSERT_TRUE(test::runUntil([this] { return done; }));
    readSong(id);
    EXPECT_EQ(MUS.Media.str(), c.media);
  }
}

TEST_F(SongForm, CancellingANewSongLeavesTheFileAsItWas) {
  song(1, "Lullaby");
  call(InsertRecord);
  EXPECT_EQ(Cantorix.records(), 2);
  test::click(test::button(form(), "Cancel"));
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(response, RequestCancelled);
  EXPECT_EQ(Cantorix.records(), 1);
  EXPECT_EQ(LastButton.str(), "Cancel");
}

TEST_F(SongForm, ACopyGetsANewNumberAndTheCopiedFields) {
  song(1, "Lullaby");
  readSong(1);
  MUS.Composer = "Robert Smith";
  MUS.Rating = 8;
  ASSERT_TRUE(Cantorix.put().ok());
  call(SelectRecord, 1);
  EXPECT_EQ(form()->windowTitle(), "Adding Information");
  ok();
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  readSong(2);
  EXPECT_EQ(MUS.Title.str(), "Lullaby");
  EXPECT_EQ(MUS.Composer.str(), "Robert Smith");
  EXPECT_EQ(MUS.Rating, 8);
}

TEST_F(SongForm, AValueOutOfItsRangeKeepsTheFormOpen) {
  call(InsertRecord);
  test::chooseTab(form(), "DJ");
  test::enter(field("Rating:"), "11");
  ASSERT_TRUE(test::answer("OK", "The value of MUS:Rating must be between 0 and 10."));
  ok();
  ASSERT_TRUE(test::answer("OK", "The value of MUS:Rating must be between 0 and 10."));
  EXPECT_TRUE(form()) << "the form does not complete";
  EXPECT_FALSE(done);
}

TEST_F(SongForm, EntriesRefuseWhatTheirPictureCannotHold) {
  call(InsertRecord);
  const struct {
    const char* tab;
    const char* prompt;
    const char* typed;
  } cases[] = {{"&General", "&Release Date:", "31/02/1999"},
               {"&General", "T&ime:", "99:99:99"},
               {"&General", "Track &Number:", "1x"},
               {"DJ", "Beats Per Minute:", "fast"}};
  for (const auto& c : cases) {
    test::chooseTab(form(), c.tab);
    QWidget* entry = field(c.prompt);
    test::enter(entry, c.typed);
    EXPECT_TRUE(entry->hasFocus()) << c.prompt << ": the cursor goes back";
  }
  test::click(test::button(form(), "Cancel"));
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(Cantorix.records(), 0) << "nothing was written";
}

TEST_F(SongForm, ANewCategoryIsAddedWhenTheUserAgrees) {
  call(InsertRecord);
  test::enter(field("&Category:"), "Jazz");
  ASSERT_TRUE(test::answer("Yes", "Add new category?"));
  ok();
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  readSong(1);
  EXPECT_EQ(MUS.CategoryID, 2);
  CAT.CategoryID = 2;
  ASSERT_TRUE(Categories.get(Categories.KeyCategoryID).ok());
  EXPECT_EQ(CAT.Category.str(), "Jazz");
}

TEST_F(SongForm, SavedSongsAreAttachedToTheirAlbumWhichIsCreatedOnce) {
  for (const char* title : {"Plainsong", "Pictures of You"}) {
    call(InsertRecord);
    test::enter(field("&Artist:"), "Cure");
    test::enter(field("&Title:"), title);
    test::enter(field("&Album:"), "Disintegration");
    ok();
    ASSERT_TRUE(test::runUntil([this] { return done; }));
  }
  EXPECT_EQ(Album.records(), 1);
  readSong(1);
  const int album = MUS.AlbumID;
  EXPECT_GT(album, 0);
  readSong(2);
  EXPECT_EQ(MUS.AlbumID, album);
  ALB.AlbumID = album;
  ASSERT_TRUE(Album.get(Album.KeyAlbumID).ok());
  EXPECT_EQ(ALB.Album.str(), "Disintegration");
  EXPECT_EQ(ALB.Artist.str(), "Cure");
}

TEST_F(SongForm, ASongAPlaylistHoldsIsNotDeleted) {
  song(1, "Lullaby");
  PLA.PlaylistID = 1;
  PLA.PlaylistSeq = 1;
  PLA.ID = 1;
  ASSERT_TRUE(PlaylistDetails.add().ok());
  call(DeleteRecord, 1);
  ASSERT_TRUE(test::answer("OK", "Press OK to confirm deletion"));
  ASSERT_TRUE(test::answer("OK", "referenced from the file PlaylistDetails."));
  ASSERT_TRUE(test::answer("No", "An error was experienced deleting this record."));
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  EXPECT_EQ(response, RequestCancelled);
  EXPECT_EQ(Cantorix.records(), 1);
}

TEST_F(SongForm, TheDittoKeyRecallsTheLastSavedSongsField) {
  call(InsertRecord);
  test::enter(field("&Artist:"), "Siouxsie");
  ok();
  ASSERT_TRUE(test::runUntil([this] { return done; }));
  call(InsertRecord);
  QWidget* artist = field("&Artist:");
  artist->setFocus();
  test::pressKey(artist, Qt::Key_Apostrophe, Qt::ControlModifier);
  EXPECT_EQ(static_cast<QLineEdit*>(artist)->text(), "Siouxsie");
}

}  // namespace
