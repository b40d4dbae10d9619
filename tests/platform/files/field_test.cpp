#include <gtest/gtest.h>

#include "tests/platform/files/test_file.h"

namespace {

TEST(Fields, TextIsCutToItsWidthInCharactersAndNeverPadded) {
  files::String<5> s;
  s = "abcdefgh";
  EXPECT_EQ(s.str(), "abcde");
  s = "ab   ";
  EXPECT_EQ(s.str(), "ab");
  EXPECT_TRUE(s == "ab  ");
  s = QString::fromUtf8("\xF0\x9F\x8E\xB5\xC3\x84rzte!");  // a note (two UTF-16 units), then Ärzte!
  EXPECT_EQ(s.str(), QString::fromUtf8("\xF0\x9F\x8E\xB5\xC3\x84rzt"));
}

TEST(Fields, NumbersHoldTheNearestValueTheirTypeCanHold) {
  files::Byte b;
  b = 300;
  EXPECT_EQ(b, 255);
  b = -4;
  EXPECT_EQ(b, 0);
  files::Decimal<3> d;
  d = 12345;
  EXPECT_EQ(d, 999);
  files::Decimal<11> big;
  big = 123456789012LL;
  EXPECT_EQ(big.get(), 99999999999LL);
  files::Long l;
  l = 5'000'000'000LL;
  EXPECT_EQ(l, INT32_MAX);
}

TEST(Records, FieldsRegisterInOrderAndSnapshotsRestoreEverything) {
  test::ItemRecord r;
  ASSERT_EQ(r.fields().size(), 5u);
  EXPECT_EQ(r.fields()[0]->label(), "ITM:Name");
  EXPECT_EQ(r.memos().front()->name(), "Notes");
  EXPECT_EQ(r.field("small"), &r.Small);
  r.Name = "a";
  r.Number = 7;
  r.Notes = "memo";
  const auto snap = r.snapshot();
  r.clear();
  EXPECT_TRUE(r.Name.isBlank() && r.Notes.isBlank() && r.Number == 0);
  EXPECT_FALSE(r.equals(snap));
  r.restore(snap);
  EXPECT_TRUE(r.equals(snap));
  EXPECT_EQ(r.Notes.str(), "memo");
}

}  // namespace
