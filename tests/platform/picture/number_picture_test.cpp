#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <variant>

#include "platform/picture/picture.h"

namespace {

using Read = std::optional<std::variant<qlonglong, double>>;

std::string shown(const QVariant& value, const char* picture) {
  return pic::format(value, picture).toStdString();
}

Read read(const char* text, const char* picture) {
  const std::optional<QVariant> v = pic::deformat(QString::fromUtf8(text), picture);
  if (!v) return std::nullopt;
  if (v->typeId() == QMetaType::LongLong) return v->toLongLong();
  if (v->typeId() == QMetaType::Double) return v->toDouble();
  ADD_FAILURE() << "a number picture gave a " << v->typeName();
  return std::nullopt;
}

TEST(NumberPicture, Formats) {
  const struct {
    QVariant value;
    const char* picture;
    const char* expected;
  } cases[] = {
      // Without fill: the shortest text.
      {5LL, "@n3", "5"},
      {-5LL, "@n-13", "-5"},
      {-5LL, "@n3", "-5"},
      {1234567LL, "@n9", "1,234,567"},
      // Groups are dropped when only the plain digits fit; past that, '#'.
      {1959LL, "@n4b", "1959"},
      {1234567LL, "@n8", "1234567"},
      {1234567LL, "@n6", "######"},
      {-1000LL, "@n5", "-1000"},
      {-1000LL, "@n4", "####"},
      // Fills.
      {7LL, "@n_5", "    7"},
      {120LL, "@n_4b", " 120"},
      {42LL, "@n05", "00042"},
      {-42LL, "@n05", "-0042"},
      {1234567LL, "@n09", "001234567"},
      {1234.5, "@n*10.2", "**1,234.50"},
      // Grouping characters and decimal points.
      {1234567LL, "@n9.", "1.234.567"},
      {1234567LL, "@n9_", "1 234 567"},
      {1234567LL, "@n12-.2", "1-234-567.00"},
      {1234.5, "@n10'2", "1.234,50"},
      {1234.5, "@n10_'2", "1 234,50"},
      {9876.54, "@n11.2", "9,876.54"},
      {9876.54, "@N30.9", "9,876.540000000"},
      {0.5, "@n5.2", "0.50"},
      // Signs and currency.
      {-12LL, "@n(5)", "(12)"},
      {12LL, "@n(5)", "12"},
      {-12LL, "@n5-", "12-"},
      {-1234.5, "@n(_12.2)", "  (1,234.50)"},
      {1234.5, "@n$10.2", "$1,234.50"},
      {-5LL, "@n$_6", "   -$5"},
      {-5LL, "@n$*6", "-$***5"},
      // Rounding is half away from zero, and what shows as zero has no sign.
      {2.5, "@n3", "3"},
      {-2.5, "@n3", "-3"},
      {0.125, "@n5.2", "0.13"},
      {-0.001, "@n6.2", "0.00"},
      {-0.001, "@n6.2b", ""},
      // Extremes.
      {std::numeric_limits<qlonglong>::min(), "@n_20", "-9223372036854775808"},
      {1e300, "@n5", "#####"},
      {std::nan(""), "@n5", "#####"},
      // Values that are not numbers.
      {QVariant(), "@n3", "0"},
      {"42", "@n_5", "   42"},
      {"abc", "@n5", "abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " " + c.value.toString().toStdString());
    EXPECT_EQ(shown(c.value, c.picture), c.expected);
  }
}

TEST(NumberPicture, BlankWhenZero) {
  for (const char* picture : {"@n3b", "@n2b", "@n_4b", "@n05b", "@n$*9.2b", "@n(9)b"}) {
    SCOPED_TRACE(picture);
    EXPECT_EQ(shown(0LL, picture), "");
    EXPECT_EQ(shown(0.0, picture), "");
    EXPECT_NE(shown(1LL, picture), "");
  }
  EXPECT_EQ(shown(0LL, "@n3"), "0");
}

TEST(NumberPicture, Deformats) {
  const struct {
    const char* text;
    const char* picture;
    Read expected;
  } cases[] = {
      {"", "@n3", 0LL},
      {"   ", "@n5.2", 0.0},
      {" 42 ", "@n5", 42LL},
      {"1,234,567", "@n9", 1234567LL},
      {"1,234", "@n4", 1234LL},
      {"00042", "@n05", 42LL},
      {"1 234 567", "@n9_", 1234567LL},
      {"1.234,50", "@n10'2", 1234.5},
      {"**1,234.50", "@n*10.2", 1234.5},
      {"$1,234.50", "@n$10.2", 1234.5},
      {"-$5", "@n$_6", -5LL},
      {"$-5", "@n$_6", -5LL},
      {"-5", "@n-13", -5LL},
      {"(12)", "@n(5)", -12LL},
      {"-12", "@n(5)", -12LL},
      {"12-", "@n5-", -12LL},
      {"-12", "@n5-", -12LL},
      {".5", "@n5.2", 0.5},
      {"7", "@n5.2", 7.0},
      {"1.2349", "@n8.2", 1.23},  // the value kept is the value shown
      // Refused.
      {"12a", "@n5", std::nullopt},
      {"abc", "@n5", std::nullopt},
      {"-", "@n5", std::nullopt},
      {"1.5", "@n5", std::nullopt},
      {"1.2.3", "@n8.2", std::nullopt},
      {"1234", "@n3", std::nullopt},
      {"123.45", "@n5.2", std::nullopt},
      {"(12)", "@n5", std::nullopt},
      {"(12", "@n(5)", std::nullopt},
      {"12-", "@n5", std::nullopt},
      {"$5", "@n5", std::nullopt},
      {"99999999999999999999", "@n_30", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " \"" + c.text + "\"");
    EXPECT_EQ(read(c.text, c.picture), c.expected);
  }
}

TEST(NumberPicture, ReadsBackWhatItShows) {
  const struct {
    std::vector<const char*> pictures;
    std::vector<QVariant> values;
  } groups[] = {
      {{"@n_12", "@n(12)b", "@n12-", "@n$*12", "@n012", "@n12.", "@n12_", "@n12-b"},
       {-1234567LL, -1LL, 0LL, 7LL, 1959LL, 1234567LL}},
      {{"@n_12.2", "@n12'2", "@n$(13.2)", "@n*12.3b"}, {-9876.54, 0.0, 0.5, 1234.5}},
  };
  for (const auto& g : groups)
    for (const char* picture : g.pictures)
      for (const QVariant& value : g.values) {
        const QString text = pic::format(value, picture);
        SCOPED_TRACE(std::string(picture) + " \"" + text.toStdString() + "\"");
        const std::optional<QVariant> back = pic::deformat(text, picture);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->typeId(), value.typeId());
        EXPECT_EQ(*back, value);
      }
}

}  // namespace
