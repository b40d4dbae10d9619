#include "storage/file_access.h"

#include <gtest/gtest.h>

#include <QFile>

#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "storage/messages.h"
#include "storage/records.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::setHaltHandler([this](const QString& text, int) { haltText = text; });
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
  void run(const std::function<void()>& body) {
    done = false;
    rt::start([this, body] {
      body();
      done = true;
    });
    ASSERT_TRUE(test::runUntil([this] { return done || test::messageBox(); }));
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

}  // namespace
