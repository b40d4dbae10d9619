// The presence lock every program holds on the files it has open. A second lock in this process
// plays the other program: open-file-description locks conflict between descriptions, whoever
// holds them.
#include "platform/files/presence_lock.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "platform/files/transaction.h"
#include "tests/platform/files/test_file.h"
#include "tests/support/raw_database.h"
#include "tests/support/workspace.h"

namespace {

using files::PresenceLock;

class Presence : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(file.create().ok()); }
  void TearDown() override { file.close(); }
  int otherProgramTakes(PresenceLock::Mode mode) {
    PresenceLock other;
    return other.take(file.path(), mode).code;
  }

  test::Workspace ws;
  test::ItemRecord rec;
  test::ItemFile file{rec};
};

TEST_F(Presence, HeldFromOpenToCloseWhateverSQLiteDoesWithItsOwnDescriptors) {
  ASSERT_TRUE(file.open().ok());
  const struct {
    const char* step;
    std::function<void()> run;
  } steps[] = {
      {"opened", [] {}},
      {"after another connection of this process opened, read and closed the file",
       [&] { EXPECT_EQ(test::RawDatabase(file.path()).value("SELECT count(*) FROM data"), "0"); }},
      {"after a transaction took and dropped SQLite's locks",
       [&] {
         ASSERT_TRUE(files::beginTransaction(2000, {&file}).ok());
         rec.Name = "one";
         ASSERT_TRUE(file.add().ok());
         ASSERT_TRUE(files::commit().ok());
       }},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    s.run();
    EXPECT_EQ(otherProgramTakes(PresenceLock::Mode::Exclusive), files::kFileLocked);
    EXPECT_EQ(otherProgramTakes(PresenceLock::Mode::Shared), files::kNoError) << "openers share it";
  }
  file.close();
  EXPECT_EQ(otherProgramTakes(PresenceLock::Mode::Exclusive), files::kNoError);
}

TEST_F(Presence, TheLockLiesOutsideTheBytesSQLiteLocks) {
  PresenceLock sole;
  ASSERT_TRUE(sole.take(file.path(), PresenceLock::Mode::Exclusive).ok());
  test::RawDatabase raw(file.path());
  ASSERT_EQ(raw.exec("BEGIN EXCLUSIVE"), SQLITE_OK) << "every one of SQLite's lock bytes";
  EXPECT_EQ(raw.exec("INSERT INTO data(Name) VALUES('two')"), SQLITE_OK);
  EXPECT_EQ(raw.exec("COMMIT"), SQLITE_OK);
}

TEST_F(Presence, AnExclusiveOpenIsRefusedWhileAnotherProgramHasTheFileAndKeepsItFromOthers) {
  {
    PresenceLock other;
    ASSERT_TRUE(other.take(file.path(), PresenceLock::Mode::Shared).ok());
    EXPECT_EQ(file.open(files::Access::Exclusive).code, files::kAccessDenied);
    EXPECT_FALSE(file.isOpen());
  }
  ASSERT_TRUE(file.open(files::Access::Exclusive).ok());
  EXPECT_EQ(otherProgramTakes(PresenceLock::Mode::Shared), files::kFileLocked);
}

TEST_F(Presence, AnOpenWaitsForAnExclusiveHolderThenReportsTheFileLocked) {
  PresenceLock sole;
  ASSERT_TRUE(sole.take(file.path(), PresenceLock::Mode::Exclusive).ok());
  EXPECT_EQ(file.open().code, files::kFileLocked);
  EXPECT_FALSE(file.isOpen());
  sole.release();
  EXPECT_TRUE(file.open().ok()) << "nothing of the refused open is left behind";
}

}  // namespace
