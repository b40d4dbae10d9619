#include <gtest/gtest.h>

#include "platform/picture/picture.h"

namespace {

using pic::Picture;
using pic::PictureKind;

Picture number(int width) {
  Picture p;
  p.kind = PictureKind::kNumber;
  p.width = width;
  p.grouping = u',';
  return p;
}

Picture clock(PictureKind kind, int style, QChar separator = {}, bool blank = false) {
  Picture p;
  p.kind = kind;
  p.style = style;
  p.separator = separator;
  p.blankWhenZero = blank;
  return p;
}

TEST(PictureParser, ReadsEveryFamily) {
  const auto with = [](Picture p, auto change) {
    change(p);
    return p;
  };
  const struct {
    const char* text;
    Picture expected;
  } cases[] = {
      {"@s20", with(Picture{}, [](Picture& p) { p.width = 20; })},
      {"s", Picture{}},
      {"@n13", number(13)},
      {"@n-13", number(13)},
      {"@n_9.2", with(number(9),
                      [](Picture& p) {
                        p.fill = u' ';
                        p.places = 2;
                      })},
      {"@n4B", with(number(4), [](Picture& p) { p.blankWhenZero = true; })},
      {"@n09", with(number(9),
                    [](Picture& p) {
                      p.fill = u'0';
                      p.grouping = QChar();
                    })},
      {"@n9.", with(number(9), [](Picture& p) { p.grouping = u'.'; })},
      {"@n9_", with(number(9), [](Picture& p) { p.grouping = u' '; })},
      {"@n12-.2", with(number(12),
                       [](Picture& p) {
                         p.grouping = u'-';
                         p.places = 2;
                       })},
      {"@n12-", with(number(12), [](Picture& p) { p.sign = pic::NumberSign::kTrailingMinus; })},
      {"@n12--b", with(number(12),
                       [](Picture& p) {
                         p.grouping = u'-';
                         p.sign = pic::NumberSign::kTrailingMinus;
                         p.blankWhenZero = true;
                       })},
      {"@n(12)", with(number(12), [](Picture& p) { p.sign = pic::NumberSign::kParentheses; })},
      {"@n$*12'2", with(number(12),
                        [](Picture& p) {
                          p.currency = true;
                          p.fill = u'*';
                          p.grouping = u'.';
                          p.decimalPoint = u',';
                          p.places = 2;
                        })},
      {"@d6-b", clock(PictureKind::kDate, 6, u'-', true)},
      {"@D17", clock(PictureKind::kDate, 17)},
      {"@t4_", clock(PictureKind::kTime, 4, u' ')},
      {"@t3'b", clock(PictureKind::kTime, 3, u',', true)},
      {"@p<<-pb", with(Picture{},
                       [](Picture& p) {
                         p.kind = PictureKind::kPattern;
                         p.pattern = "<<-";
                         p.blankWhenZero = true;
                       })},
      {"@PNo. ##P", with(Picture{},
                         [](Picture& p) {
                           p.kind = PictureKind::kPattern;
                           p.pattern = "No. ##";
                         })},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<Picture> parsed = pic::parsePicture(QString::fromUtf8(c.text));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(*parsed == c.expected);
  }
}

TEST(PictureParser, AtSignAndLetterCaseDoNotMatter) {
  const std::pair<const char*, const char*> same[] = {
      {"@d3", "d3"}, {"@S20", "@s20"}, {"@N30.9", "@n30.9"}, {"@T4B", "t4b"}, {"@P###P", "@p###p"}};
  for (const auto& [a, b] : same) {
    SCOPED_TRACE(a);
    const auto left = pic::parsePicture(a);
    ASSERT_TRUE(left.has_value());
    EXPECT_TRUE(left == pic::parsePicture(b));
  }
}

TEST(PictureParser, RefusesWhatIsNoPicture) {
  for (const char* text : {"",      "@",       "@n",     "@n0",     "@nx", "@n9x",  "@n(9", "@n9)",
                           "@n-9-", "@n12..2", "@n1234", "@n9.123", "@d",  "@d0",   "@d19", "@d6x",
                           "@d6bb", "@t9",     "@p###",  "@s0",     "@sx", "@s20b", "@e5",  "@k"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(pic::isValidPicture(text));
  }
}

TEST(PictureParser, DisplayWidthIsTheWidestValueShown) {
  const std::pair<const char*, int> cases[] = {
      {"@s20", 20}, {"@s", 0},        {"@n_9.2", 9},
      {"@d1", 8},   {"@d3", 11},      {"@d4", 18},  // "September 28, 2000"
      {"@d12", 8},  {"@t1", 5},       {"@t3", 7},
      {"@t6", 10},  {"@p###-##p", 6}, {"@k5", 0},
  };
  for (const auto& [picture, width] : cases) {
    SCOPED_TRACE(picture);
    EXPECT_EQ(pic::displayWidth(picture), width);
  }
}

}  // namespace
