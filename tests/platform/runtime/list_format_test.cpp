#include "platform/runtime/list_format.h"

#include <gtest/gtest.h>

#include "tests/support/qt_printers.h"

namespace {

TEST(ListFormat, FormatsReadBackToTheSameText) {
  const char* formats[] = {
      "77L(2)|M~Artist~@s50@75L(2)|M~Title~@s50@76L(2)|M~Album~@s50@39L(2)|M~Media~@s20@43L(2)|M~File "
      "Number~@s20@51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@36R(2)|M~Released~C(0)@d17b@24R(2)|M~"
      "BPM~C(0)@"
      "n_4b@120R(2)|M~User Defined Key Field~C(0)@s30@42R(2)|M~Last "
      "Played~C(0)@d17-@[10R|M@p(<)pb@12R|M@n3b@](21)|"
      "M~Track~120L(2)|M~Style~C(0)@s30@12R(2)|M~Chart Number~L(0)@n3@",
      "13L(2)I@s2@85L|M~Table~@s50@43L|M~Records~L(1)@s10@255L|M~File~L(1)@s144@",
      "80L~Media~@s20@",
      "20R_F#3#",
  };
  for (const char* f : formats) {
    const auto columns = rt::parseListFormat(f);
    ASSERT_TRUE(columns) << f;
    EXPECT_EQ(rt::writeListFormat(*columns), f);
  }
}

TEST(ListFormat, ColumnsCarryTheirParts) {
  const auto columns =
      rt::parseListFormat("51L(1)|M~Category~L(0)@s30@[10R|M@p(<)pb@12R|M@n3b@](21)|M~Track~20R_F#3#");
  ASSERT_TRUE(columns);
  ASSERT_EQ(columns->size(), 3u);
  const rt::ListColumn& category = (*columns)[0];
  EXPECT_EQ(category.width, 51);
  EXPECT_EQ(category.offset, 1);
  EXPECT_TRUE(category.rightBorder() && category.resizable() && !category.underline());
  EXPECT_EQ(category.header, "Category");
  EXPECT_EQ(category.headerJustification, QChar('L'));
  EXPECT_EQ(category.picture, "s30");
  const rt::ListColumn& track = (*columns)[1];
  EXPECT_TRUE(track.group);
  EXPECT_EQ(track.header, "Track");
  EXPECT_EQ(track.groupWidth, 21);
  EXPECT_EQ(track.columns.size(), 2u);
  EXPECT_EQ((*columns)[2].field, 3);
  EXPECT_TRUE((*columns)[2].underline() && (*columns)[2].fixed());
  const auto leaves = rt::leafColumns(*columns);
  ASSERT_EQ(leaves.size(), 4u);
  EXPECT_EQ(leaves[1]->picture, "p(<)pb");
}

TEST(ListFormat, BrokenFormatsAreRefused) {
  for (const char* f : {"L", "77X", "77L(2", "77L~open", "77L@s20", "[10R@s2@", "77L#3", "77L(2)]"})
    EXPECT_FALSE(rt::parseListFormat(f)) << f;
  EXPECT_TRUE(rt::parseListFormat("")) << "no columns is a format too";
}

TEST(ListFormat, GroupsWithinGroupsAndOutsizedNumbersAreRefused) {
  for (const char* f : {"[[10R@s2@]]", "[10R@s2@[12R@n3@]](21)|M~Track~", "99999999999L(2)|M~Artist~@s50@",
                        "77L(2)|M~Artist~@s50@#4294967297#"})
    EXPECT_FALSE(rt::parseListFormat(f)) << f;
  // A damaged settings file can hold any depth; reading it must not nest as deep.
  const QString deep = QString(100000, '[') + "10R@s2@" + QString(100000, ']');
  EXPECT_FALSE(rt::parseListFormat(deep));
}

TEST(ListFormat, DatePicturesTakeTheUsersDateFormat) {
  const QString f = "36R(2)|M~Released~C(0)@d17b@42R(2)|M~Last Played~C(0)@D17-@[10R|M@p(<)pb@](21)|M~Track~";
  EXPECT_EQ(rt::replaceDatePictures(f, "d6"),
            "36R(2)|M~Released~C(0)@d6@42R(2)|M~Last Played~C(0)@d6@[10R|M@p(<)pb@](21)|M~Track~");
  EXPECT_EQ(rt::replaceDatePictures(f, ""), f);
}

}  // namespace
