#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "platform/files/transaction.h"
#include "tests/platform/files/test_file.h"
#include "tests/support/raw_database.h"
#include "tests/support/workspace.h"

namespace {

using files::Status;

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
  }
  void TearDown() override { file.close(); }
  void addItem(const char* name, const char* code = "", int number = 0) {
    rec.clear();
    rec.Name = name;
    rec.Code = code;
    rec.Number = number;
    ASSERT_TRUE(file.add().ok()) << name;
  }

  test::Workspace ws;
  test::ItemRecord rec;
  test::ItemFile file{rec};
};

TEST_F(FileTest, OpeningRefusesWhatIsMissingForeignOrOfAnotherLayout) {
  test::ItemRecord r2;
  test::ItemFile missing(r2, "nothere");
  EXPECT_EQ(missing.open().code, files::kFileNotFound);
  EXPECT_FALSE(QFile::exists(missing.path())) << "opening must not create the file";

  EXPECT_EQ(file.open().code, files::kFileAlreadyOpen);
  EXPECT_EQ(test::ItemFile(r2).create().code, files::kAccessDenied) << "create never replaces a file";

  test::writeFile(ws.file("text.tps"), "this is no database at all, just text that someone left here\n");
  test::ItemFile text(r2, "text");
  EXPECT_EQ(text.open().code, files::kNotADataFile);
  EXPECT_EQ(test::readFile(ws.file("text.tps")),
            "this is no database at all, just text that someone left here\n");

  { test::RawDatabase(ws.file("foreign.tps")).exec("CREATE TABLE songs(a)"); }
  test::ItemFile foreign(r2, "foreign");
  EXPECT_EQ(foreign.open().code, files::kNotADataFile);

  struct OtherLayout : files::File {
    explicit OtherLayout(test::ItemRecord& r) : File(r, "Items", "items", 2), b(r) {}
    test::ItemRecord& b;
    files::Key ByName{this, "ByName", {&b.Name, &b.Group}, files::kDuplicates};
  } changed(r2);
  EXPECT_EQ(changed.open().code, files::kLayoutMismatch);
}

TEST_F(FileTest, UniqueKeysCompareWithoutCaseBeyondAscii) {
  addItem("a", "Ärzte");
  rec.clear();
  rec.Name = "b";
  rec.Code = "ärzte";
  const Status dup = file.add();
  EXPECT_EQ(dup.code, files::kDuplicateKey);
  EXPECT_EQ(dup.key, "ITM:ByCode");
  rec.Code = "Arzte";
  EXPECT_TRUE(file.add().ok()) << "a different letter is not a different case";
  EXPECT_EQ(file.records(), 2);
}

TEST_F(FileTest, AnOptionalUniqueKeyAllowsAnyNumberOfBlanks) {
  addItem("one");
  addItem("two");
  addItem("three", "X1");
  rec.clear();
  rec.Code = "x1";
  EXPECT_EQ(file.add().code, files::kDuplicateKey);
  int inCodeOrder = 0;
  file.set(file.ByCode);
  while (file.next().ok())
    ++inCodeOrder;
  EXPECT_EQ(inCodeOrder, 1) << "blank codes are not in the key";
}

TEST_F(FileTest, PutAndRemoveWorkOnTheCurrentRecord) {
  addItem("first", "", 1);
  addItem("second", "", 2);
  rec.Number = 1;
  ASSERT_TRUE(file.get(file.KeyNumber).ok());
  EXPECT_EQ(rec.Name.str(), "first");
  rec.Name = "renamed";
  ASSERT_TRUE(file.put().ok());
  rec.clear();
  ASSERT_TRUE(file.get(file.position()).ok());
  EXPECT_EQ(rec.Name.str(), "renamed");
  rec.Code = "dup";
  ASSERT_TRUE(file.put().ok());
  rec.Number = 2;
  ASSERT_TRUE(file.get(file.KeyNumber).ok());
  rec.Code = "DUP";
  EXPECT_EQ(file.put().code, files::kDuplicateKey);
  ASSERT_TRUE(file.remove().ok());
  EXPECT_EQ(file.records(), 1);
  EXPECT_EQ(file.put().code, files::kNoRecord) << "nothing is current after a delete";
}

TEST_F(FileTest, AWatchedRecordChangedByAnotherStationIsNotOverwritten) {
  addItem("mine", "", 1);
  file.watch();
  ASSERT_TRUE(file.get(file.KeyNumber).ok());
  test::RawDatabase(file.path()).exec("UPDATE data SET Name = 'theirs', _chg = _chg + 1");
  rec.Name = "mine again";
  EXPECT_EQ(file.put().code, files::kChangedByOther);
  file.watch();
  ASSERT_TRUE(file.get(file.position()).ok());
  EXPECT_EQ(rec.Name.str(), "theirs");
  rec.Name = "merged";
  EXPECT_TRUE(file.put().ok()) << "a fresh watched read may write";
  test::RawDatabase(file.path()).exec("UPDATE data SET _chg = _chg + 1");
  EXPECT_EQ(file.remove().code, files::kChangedByOther);
}

TEST_F(FileTest, ATransactionCoversSeveralFilesAndRollsBackWhole) {
  test::ItemRecord r2;
  test::ItemFile second(r2, "second");
  ASSERT_TRUE(second.create().ok());
  ASSERT_TRUE(second.open().ok());
  ASSERT_TRUE(files::beginTransaction(2000, {&file, &second}).ok());
  addItem("in first");
  r2.Name = "in second";
  ASSERT_TRUE(second.add().ok());
  files::rollback();
  EXPECT_EQ(file.records(), 0);
  EXPECT_EQ(second.records(), 0);

  ASSERT_TRUE(files::beginTransaction(2000, {&file, &second}).ok());
  addItem("kept");
  ASSERT_TRUE(second.add().ok());
  ASSERT_TRUE(files::commit().ok());
  EXPECT_EQ(file.records(), 1);
  EXPECT_EQ(second.records(), 1);
  second.close();
}

TEST_F(FileTest, ATransactionWaitsForAnotherStationThenGivesUp) {
  test::RawDatabase other(file.path());
  ASSERT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
  EXPECT_EQ(files::beginTransaction(200, {&file}).code, files::kFileLocked);
  other.exec("ROLLBACK");
  ASSERT_TRUE(files::beginTransaction(200, {&file}).ok());
  files::rollback();
}

TEST_F(FileTest, StreamWritesBecomeDurableTogetherAtTheFlush) {
  file.stream();
  addItem("a");
  addItem("b");
  EXPECT_TRUE(files::inTransaction()) << "the writes wait for the flush";
  test::RawDatabase other(file.path());
  EXPECT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_BUSY) << "no other station sees half a batch";
  ASSERT_TRUE(file.flush().ok());
  EXPECT_FALSE(files::inTransaction());
  EXPECT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
  other.exec("ROLLBACK");
  addItem("c");
  EXPECT_FALSE(files::inTransaction()) << "after the flush each write is durable by itself";

  ASSERT_TRUE(files::beginTransaction(2000, {&file}).ok());
  file.stream();
  addItem("d");
  ASSERT_TRUE(file.flush().ok());
  EXPECT_TRUE(files::inTransaction()) << "inside a transaction the stream is its part";
  files::rollback();
  EXPECT_EQ(file.records(), 3);

  file.stream();
  addItem("e");
  file.close();
  EXPECT_FALSE(files::inTransaction()) << "closing flushes";
  ASSERT_TRUE(file.open().ok());
  EXPECT_EQ(file.records(), 4);
}

TEST_F(FileTest, RebuildingKeysKeepsEveryRecordAndTheCount) {
  for (const char* n : {"c", "a", "b"})
    addItem(n);
  ASSERT_TRUE(file.rebuildKeys().ok());
  EXPECT_EQ(file.records(), 3);
  file.set(file.ByName);
  ASSERT_TRUE(file.next().ok());
  EXPECT_EQ(rec.Name.str(), "a");
}

}  // namespace
