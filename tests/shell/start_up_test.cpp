#include <QFile>
#include <QMainWindow>
#include <QMessageBox>
#include <csignal>

#include "platform/runtime/threads.h"
#include "shell/shell.h"
#include "storage/records.h"
#include "tests/shell/program_fixture.h"
#include "tests/support/ui_driver.h"

namespace {

using test::ProgramTest;

QStringList mediaInFileOrder() {
  QStringList names;
  Media.setByPosition();
  while (Media.next().ok())
    names << MED.Media.str();
  return names;
}

// Adds a song to the songs file of the working directory before the program starts.
void addSongBeforeStart(const char* title) {
  ASSERT_TRUE(Cantorix.create().ok());
  ASSERT_TRUE(Cantorix.open().ok());
  MUS.clear();
  MUS.Title = title;
  MUS.ID = 1;
  ASSERT_TRUE(Cantorix.add().ok());
  Cantorix.close();
}

TEST_F(ProgramTest, AFirstStartInAnEmptyFolderCreatesEverythingAndOpensNoWindow) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitForSplashToClose());
  test::settle();
  for (files::File* f : databaseFiles())
    EXPECT_TRUE(QFile::exists(f->path())) << f->name().toStdString();
  EXPECT_EQ(mediaInFileOrder(),
            QStringList({"CD", "LP", "EP", "7\" Single", "CD Single", "Cassette (Dolby B)",
                         "Cassette (Dolby C)", "Cassette (Dolby S)", "Cassette (DBX)", "Cassette (HX Pro)",
                         "Cassette (Prerecorde", "Other"}));
  EXPECT_EQ(test::windowTitles(), QStringList()) << "no question, no window besides the frame";
  EXPECT_EQ(setting("KVXPro98.INI", "Global Settings", "Version"), "1.8i");
  ASSERT_TRUE(exit());
  EXPECT_NE(setting("POSITION.INI", "Main", "Width"), "<missing>") << "the frame saves its place on closing";
}

TEST_F(ProgramTest, SongsWithoutAlbumsBringTheAlbumQuestionAtEveryStartUntilAnswered) {
  addSongBeforeStart("Imported");
  for (int run = 0; run < 2; ++run) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(test::runUntil([] { return test::messageBox("copy your album information") != nullptr; }));
    EXPECT_EQ(test::messageBox()->windowTitle(), "Album Database Empty");
    ASSERT_TRUE(test::answer("No"));
    ASSERT_TRUE(exit()) << "run " << run;
  }
  EXPECT_EQ(setting("KVXPro98.INI", "Settings", "AutoAddToAlbums"), "<missing>");
}

TEST_F(ProgramTest, AFileThatIsNotOursStopsTheStartWithoutTouchingIt) {
  test::writeFile(ws.file("kvxmedia.tps"), "someone else's file");
  programThread = rt::start(ProgramMain);
  ASSERT_TRUE(test::answer("OK", "File (Media) could not be opened."));
  ASSERT_TRUE(test::runUntil([this] { return !haltText.isEmpty(); }));
  EXPECT_EQ(haltText, "Disk Error");
  EXPECT_EQ(test::readFile(ws.file("kvxmedia.tps")), "someone else's file");
  EXPECT_FALSE(frame());
}

TEST_F(ProgramTest, TheChosenStartUpWindowsOpenInOrderAfterTheSplash) {
  setSetting("KVXPro98.INI", "Settings", "SU_Albums", "1");
  setSetting("KVXPro98.INI", "Settings", "SU_Songs", "1");
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitForSplashToClose());
  // The songs window first; the albums window is not built yet and says so.
  ASSERT_TRUE(test::waitForWindow("Songs - 0 entries"))
      << test::windowTitles().join("|").toStdString() << " / "
      << test::messageTexts().join("|").toStdString();
  ASSERT_TRUE(test::runUntil([] { return test::messageBox() != nullptr; }));
  EXPECT_EQ(test::messageBox()->windowTitle(), "Albums");
  ASSERT_TRUE(test::answer("OK", "This function is not available yet."));
}

TEST_F(ProgramTest, TheSystemEndingTheSessionClosesTheFrameTheNormalWay) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitForSplashToClose());
  std::raise(SIGTERM);
  ASSERT_TRUE(test::runUntil([this] { return ended(); }));
  EXPECT_NE(setting("POSITION.INI", "Main", "XPosit"), "<missing>");
  EXPECT_EQ(FrameThread, 0);
}

}  // namespace
