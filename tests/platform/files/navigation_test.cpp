#include <gtest/gtest.h>

#include <QStringList>

#include "tests/platform/files/test_file.h"
#include "tests/support/workspace.h"

namespace {

class NavigationTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    if (GetParam()) file.sendOption("QUICKSCAN=on");
    // Names in the order added; equal names (in any case) must come back in this order.
    int n = 0;
    for (const char* name : {"b", "A", "c", "a", "B", "a"}) {
      rec.clear();
      rec.Name = name;
      rec.Number = ++n;
      rec.Group = n % 2 ? "odd" : "";
      rec.Small = n == 2 ? 5 : 0;
      ASSERT_TRUE(file.add().ok());
    }
  }
  void TearDown() override { file.close(); }

  // Reads `count` records in one direction and gives "name/number" of each.
  QStringList read(bool forward, int count) {
    QStringList out;
    for (int i = 0; i < count; ++i) {
      if (!(forward ? file.next() : file.previous()).ok()) break;
      out << rec.Name.str() + "/" + QString::number(rec.Number);
    }
    return out;
  }

  test::Workspace ws;
  test::ItemRecord rec;
  test::ItemFile file{rec};
};

TEST_P(NavigationTest, AKeyOrdersWithoutCaseAndKeepsEqualValuesInEntryOrder) {
  file.set(file.ByName);
  EXPECT_EQ(read(true, 10), QStringList({"A/2", "a/4", "a/6", "b/1", "B/5", "c/3"}));
  EXPECT_EQ(file.next().code, files::kNoRecord);
  EXPECT_EQ(read(false, 1), QStringList({"c/3"})) << "previous after the end reads the last record";
  file.set(file.ByName);
  EXPECT_EQ(read(false, 10), QStringList({"c/3", "B/5", "b/1", "a/6", "a/4", "A/2"}));
  EXPECT_EQ(file.previous().code, files::kNoRecord);
  EXPECT_EQ(read(true, 1), QStringList({"A/2"}));
}

TEST_P(NavigationTest, DirectionCanTurnAtAnyRecord) {
  file.set(file.ByName);
  EXPECT_EQ(read(true, 3), QStringList({"A/2", "a/4", "a/6"}));
  EXPECT_EQ(read(false, 2), QStringList({"a/4", "A/2"}));
  EXPECT_EQ(read(true, 4), QStringList({"a/4", "a/6", "b/1", "B/5"}));
}

TEST_P(NavigationTest, SetFromStartsAtTheBufferValues) {
  rec.Name = "B";
  file.setFrom(file.ByName);
  EXPECT_EQ(read(true, 3), QStringList({"b/1", "B/5", "c/3"}));
  rec.Name = "b";
  file.setFrom(file.ByName);
  EXPECT_EQ(read(false, 3), QStringList({"B/5", "b/1", "a/6"}));
  rec.Name = "bb";
  file.setFrom(file.ByName);
  EXPECT_EQ(read(true, 1), QStringList({"c/3"}));
}

TEST_P(NavigationTest, GetAndResetPlaceTheSequence) {
  rec.Name = "A";
  ASSERT_TRUE(file.get(file.ByName).ok());
  EXPECT_EQ(rec.Number, 2) << "the first equal record in key order";
  EXPECT_EQ(read(true, 1), QStringList({"a/4"}));

  file.resetTo(file.ByName, 5);  // record number 5 was added fifth
  EXPECT_EQ(read(true, 2), QStringList({"B/5", "c/3"}));
  file.resetTo(file.ByName, 5);
  EXPECT_EQ(read(false, 2), QStringList({"B/5", "b/1"}));

  rec.clear();
  EXPECT_EQ(file.get(file.ByGroup).code, files::kRecordNotFound) << "blank values are not in an optional key";
  EXPECT_EQ(file.get(99).code, files::kRecordNotFound);
}

TEST_P(NavigationTest, AnOptionalKeyLeavesOutRecordsWhoseLeadingComponentIsBlank) {
  file.set(file.ByGroup);
  // Records 1, 3, 5 have a group; record 2 has only its second component; 4 and 6 have neither.
  EXPECT_EQ(read(true, 10), QStringList({"b/1", "c/3", "B/5"}));
}

TEST_P(NavigationTest, FileOrderIsEntryOrder) {
  file.setByPosition();
  EXPECT_EQ(read(true, 2), QStringList({"b/1", "A/2"}));
  file.setByPosition();
  EXPECT_EQ(read(false, 1), QStringList({"a/6"}));
}

TEST_P(NavigationTest, WritesBetweenReadsAreSeen) {
  file.set(file.ByName);
  EXPECT_EQ(read(true, 1), QStringList({"A/2"}));
  rec.clear();
  rec.Name = "a";
  rec.Number = 7;
  ASSERT_TRUE(file.add().ok());
  file.resetTo(file.ByName, 2);
  EXPECT_EQ(read(true, 10), QStringList({"A/2", "a/4", "a/6", "a/7", "b/1", "B/5", "c/3"}));
}

INSTANTIATE_TEST_SUITE_P(ReadAhead, NavigationTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "QuickScan" : "RowByRow"; });

}  // namespace
