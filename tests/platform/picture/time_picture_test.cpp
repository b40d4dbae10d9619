#include <gtest/gtest.h>

#include <QLocale>

#include "platform/picture/picture.h"

namespace {

// Time values past the 32 bits of timeValue() are still read back, so the tests count in 64.
constexpr qlonglong hms(qlonglong h, qlonglong m, qlonglong s) {
  return h * 360000 + m * 6000 + s * 100 + 1;
}

std::string shown(qlonglong time, const char* picture) {
  return pic::format(time, picture).toStdString();
}

std::optional<qlonglong> read(const QString& text, const char* picture) {
  const std::optional<QVariant> v = pic::deformat(text, picture);
  if (!v) return std::nullopt;
  EXPECT_EQ(v->typeId(), QMetaType::LongLong);
  return v->toLongLong();
}

TEST(TimePicture, Formats) {
  const struct {
    qlonglong time;
    const char* picture;
    const char* expected;
  } cases[] = {
      {hms(17, 3, 4), "@t1", "17:03"},
      {hms(17, 3, 4), "@t2", "1703"},
      {hms(17, 3, 4), "@t3", "05:03PM"},
      {hms(17, 3, 4), "@t4", "17:03:04"},
      {hms(17, 3, 4), "@t5", "170304"},
      {hms(17, 3, 4), "@t6", "05:03:04PM"},
      {hms(17, 3, 4), "@T4.", "17.03.04"},
      {hms(17, 3, 4), "@t1-", "17-03"},
      {hms(17, 3, 4), "@t4_", "17 03 04"},
      {hms(17, 3, 4), "@t6'", "05,03,04PM"},
      // Sums run past a day; only the 12-hour styles wrap.
      {hms(25, 3, 4), "@t4", "25:03:04"},
      {hms(25, 3, 4), "@t3", "01:03AM"},
      {hms(123, 4, 5), "@t4", "123:04:05"},
      {hms(0, 0, 0), "@t1", "00:00"},
      {hms(0, 0, 0), "@t3", "12:00AM"},
      {hms(12, 0, 0), "@t3", "12:00PM"},
      {hms(0, 0, 5) + 99, "@t4", "00:00:05"},
      // No time, with or without blank-when-zero.
      {0, "@t1", ""},
      {0, "@t4b", ""},
      {-5, "@t1", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(shown(c.time, c.picture), c.expected);
  }
}

TEST(TimePicture, Deformats) {
  const struct {
    const char* text;
    const char* picture;
    std::optional<qlonglong> expected;
  } cases[] = {
      {"", "@t1", 0},
      {"  ", "@t4", 0},
      {"17:03", "@t1", hms(17, 3, 0)},
      {"3:45", "@t1", hms(3, 45, 0)},
      {"3:45", "@t4", hms(3, 45, 0)},
      {"17", "@t1", hms(17, 0, 0)},
      {"17:03:04", "@t4", hms(17, 3, 4)},
      {"17.03.04", "@t4", hms(17, 3, 4)},
      {"17 03", "@t1", hms(17, 3, 0)},
      {"17-3-4", "@t4", hms(17, 3, 4)},
      {"1703", "@t2", hms(17, 3, 0)},
      {"945", "@t2", hms(9, 45, 0)},
      {"170304", "@t5", hms(17, 3, 4)},
      {"1703", "@t5", hms(17, 3, 0)},
      {"5:03PM", "@t3", hms(17, 3, 0)},
      {"5:03 pm", "@t1", hms(17, 3, 0)},
      {"12:00 AM", "@t3", hms(0, 0, 0)},
      {"12:30PM", "@t6", hms(12, 30, 0)},
      {"25:03:04", "@t4", hms(25, 3, 4)},
      {"9999:59:59", "@t4", hms(9999, 59, 59)},
      {"5:03 PM", "@t7", hms(17, 3, 0)},
      {"17:03:04", "@t8", hms(17, 3, 4)},
      // Refused.
      {"99:99:99", "@t4", std::nullopt},
      {"12:60", "@t1", std::nullopt},
      {"12:30:60", "@t4", std::nullopt},
      {"10000:00", "@t1", std::nullopt},
      {"13:00PM", "@t3", std::nullopt},
      {"1:2:3:4", "@t4", std::nullopt},
      {"ab:cd", "@t1", std::nullopt},
      {"17:03x", "@t1", std::nullopt},
      {"PM", "@t3", std::nullopt},
      {"1:234", "@t1", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " \"" + c.text + "\"");
    EXPECT_EQ(read(QString::fromUtf8(c.text), c.picture), c.expected);
  }
}

TEST(TimePicture, ReadsBackWhatItShows) {
  for (int style = 1; style <= 6; ++style) {
    const bool seconds = style >= 4;
    const std::string picture = "@t" + std::to_string(style);
    SCOPED_TRACE(picture);
    for (qlonglong t : {hms(0, 0, 0), hms(0, 30, 15), hms(11, 59, 59), hms(12, 0, 1), hms(23, 59, 59)}) {
      const qlonglong kept = seconds ? t : t - (t - 1) % 6000;
      ASSERT_EQ(read(pic::format(t, picture.c_str()), picture.c_str()), kept);
    }
  }
}

class LocaleTimePicture : public ::testing::Test {
 protected:
  ~LocaleTimePicture() override { QLocale::setDefault(saved_); }

 private:
  QLocale saved_;
};

TEST_F(LocaleTimePicture, FollowsTheLocaleWithoutTimeZone) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(shown(hms(17, 3, 4), "@t7"), "5:03 PM");
  EXPECT_EQ(shown(hms(17, 3, 4), "@t8"), "5:03:04 PM");
  EXPECT_EQ(shown(hms(25, 3, 4), "@t7"), "1:03 AM");
  EXPECT_EQ(read("5:03:04 PM", "@t8"), hms(17, 3, 4));

  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(shown(hms(17, 3, 4), "@t7"), "17:03");
  EXPECT_EQ(shown(hms(17, 3, 4), "@t8"), "17:03:04");
  EXPECT_EQ(read("17:03:04", "@t8"), hms(17, 3, 4));

  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  EXPECT_EQ(shown(hms(17, 3, 4), "@t8"), "17:03:04");
}

}  // namespace
