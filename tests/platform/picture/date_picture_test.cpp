#include <gtest/gtest.h>

#include <QLocale>

#include "platform/picture/clock.h"
#include "platform/picture/picture.h"

namespace {

qlonglong day(int y, int m, int d) {
  return pic::dayNumber(QDate(y, m, d));
}

std::string shown(qlonglong dayNumber, const char* picture) {
  return pic::format(dayNumber, picture).toStdString();
}

std::optional<qlonglong> read(const QString& text, const char* picture) {
  const std::optional<QVariant> v = pic::deformat(text, picture);
  if (!v) return std::nullopt;
  EXPECT_EQ(v->typeId(), QMetaType::LongLong);
  return v->toLongLong();
}

QString twoDigits(int year) {
  return QString::number(year % 100).rightJustified(2, u'0');
}

TEST(DatePicture, FormatsEveryFixedStyle) {
  const char* const expected[] = {
      "10/31/59",  "10/31/1959",  "OCT 31,1959", "October 31, 1959", "31/10/59", "31/10/1959",
      "31 OCT 59", "31 OCT 1959", "59/10/31",    "1959/10/31",       "591031",   "19591031",
      "10/59",     "10/1959",     "59/10",       "1959/10",
  };
  for (int style = 1; style <= 16; ++style) {
    const std::string picture = "@d" + std::to_string(style);
    SCOPED_TRACE(picture);
    EXPECT_EQ(shown(day(1959, 10, 31), picture.c_str()), expected[style - 1]);
  }
}

TEST(DatePicture, FormatsDetails) {
  const struct {
    qlonglong day;
    const char* picture;
    const char* expected;
  } cases[] = {
      {day(2001, 3, 5), "@d1", "03/05/01"},
      {day(2001, 3, 5), "@d4", "March 05, 2001"},
      {day(2001, 3, 5), "@d8", "05 MAR 2001"},
      {day(1959, 10, 31), "@D6", "31/10/1959"},
      // The separator replaces "/" only.
      {day(1959, 10, 31), "@d1.", "10.31.59"},
      {day(1959, 10, 31), "@d6-", "31-10-1959"},
      {day(1959, 10, 31), "@d10_", "1959 10 31"},
      {day(1959, 10, 31), "@d2'", "10,31,1959"},
      {day(1959, 10, 31), "@d3-", "OCT 31,1959"},
      {day(1959, 10, 31), "@d12.", "19591031"},
      // No date, with or without blank-when-zero.
      {0, "@d1", ""},
      {0, "@d6b", ""},
      {-3, "@d6", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(shown(c.day, c.picture), c.expected);
  }
}

TEST(DatePicture, Deformats) {
  const struct {
    const char* text;
    const char* picture;
    std::optional<qlonglong> expected;
  } cases[] = {
      {"", "@d6", 0},
      {"   ", "@d1", 0},
      {"10/31/59", "@d1", day(1959, 10, 31)},
      {"10-31-1959", "@d1", day(1959, 10, 31)},
      {" 10.31.59 ", "@d2", day(1959, 10, 31)},
      {"1 5 2001", "@d2", day(2001, 1, 5)},
      {"31/10/1959", "@d6", day(1959, 10, 31)},
      {"31,10,1959", "@d6.", day(1959, 10, 31)},
      {"OCT 31,1959", "@d3", day(1959, 10, 31)},
      {"oct 31 1959", "@d3", day(1959, 10, 31)},
      {"October 31, 1959", "@d4", day(1959, 10, 31)},
      {"31 october 1959", "@d8", day(1959, 10, 31)},
      {"31 Oct 1959", "@d7", day(1959, 10, 31)},
      {"31 10 1959", "@d8", day(1959, 10, 31)},
      {"19591031", "@d12", day(1959, 10, 31)},
      {"1959/10/31", "@d11", day(1959, 10, 31)},
      {"10/1959", "@d14", day(1959, 10, 1)},
      {"1959-10", "@d16", day(1959, 10, 1)},
      {"29/02/2000", "@d6", day(2000, 2, 29)},
      {"01/01/1801", "@d6", day(1801, 1, 1)},
      // Refused.
      {"31/02/1999", "@d6", std::nullopt},
      {"29/02/1900", "@d6", std::nullopt},
      {"29/02/2023", "@d6", std::nullopt},
      {"13/13/2000", "@d6", std::nullopt},
      {"00/10/2000", "@d6", std::nullopt},
      {"31/10", "@d6", std::nullopt},
      {"31/10/959", "@d6", std::nullopt},
      {"31/10/1959x", "@d6", std::nullopt},
      {"31#10#1959", "@d6", std::nullopt},
      {"hello", "@d6", std::nullopt},
      {"31 FOO 1959", "@d8", std::nullopt},
      {"31/12/1799", "@d6", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " \"" + c.text + "\"");
    EXPECT_EQ(read(QString::fromUtf8(c.text), c.picture), c.expected);
  }
}

TEST(DatePicture, TwoDigitYearsFallInTheHundredYearsEndingTwentyYearsAhead) {
  for (const int thisYear : {2026, 2039, 2080, 2099}) {
    pic::setClock(QDateTime(QDate(thisYear, 3, 1), QTime(12, 0)));
    const int last = thisYear + 20;
    for (const char* picture : {"@d1", "@d2", "@d11"}) {
      SCOPED_TRACE(std::to_string(thisYear) + " " + picture);
      const bool packed = std::string(picture) == "@d11";
      const auto text = [&](int year) {
        return packed ? twoDigits(year) + "0101" : "01/01/" + twoDigits(year);
      };
      EXPECT_EQ(read(text(last), picture), day(last, 1, 1));
      EXPECT_EQ(read(text(last + 1), picture), day(last - 99, 1, 1));
    }
  }
  pic::setClock(QDateTime());
}

TEST(DatePicture, FixedStylesReadBackWhatTheyShow) {
  const QDate first(2001, 1, 1);
  for (int style = 1; style <= 16; ++style) {
    const std::string picture = "@d" + std::to_string(style) + "-";
    SCOPED_TRACE(picture);
    for (QDate d = first; d < first.addYears(1); d = d.addDays(5)) {
      const qlonglong shownDay = style >= 13 ? day(d.year(), d.month(), 1) : pic::dayNumber(d);
      ASSERT_EQ(read(pic::format(pic::dayNumber(d), picture.c_str()), picture.c_str()), shownDay);
    }
  }
}

class LocaleDatePicture : public ::testing::Test {
 protected:
  ~LocaleDatePicture() override { QLocale::setDefault(saved_); }

 private:
  QLocale saved_;
};

TEST_F(LocaleDatePicture, UnitedStates) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(shown(day(1959, 10, 31), "@d17"), "10/31/59");
  EXPECT_EQ(shown(day(1959, 10, 31), "@d18"), "Saturday, October 31, 1959");
  EXPECT_EQ(shown(0, "@d18"), "");
  EXPECT_EQ(read("10/31/1959", "@d17"), day(1959, 10, 31));
  EXPECT_EQ(read("Saturday, October 31, 1959", "@d18"), day(1959, 10, 31));
  EXPECT_EQ(read("oct 31 1959", "@d18"), day(1959, 10, 31));
  EXPECT_EQ(read("31/10/1959", "@d17"), std::nullopt);
  EXPECT_EQ(read("Saturday, Octember 31, 1959", "@d18"), std::nullopt);
}

TEST_F(LocaleDatePicture, Germany) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(shown(day(1959, 10, 31), "@d17"), "31.10.59");
  EXPECT_EQ(shown(day(1959, 10, 31), "@d18"), "Samstag, 31. Oktober 1959");
  // The fixed styles stay English.
  EXPECT_EQ(shown(day(1959, 10, 31), "@d8"), "31 OCT 1959");
  EXPECT_EQ(read("31.10.1959", "@d17"), day(1959, 10, 31));
  EXPECT_EQ(read("Samstag, 31. Oktober 1959", "@d18"), day(1959, 10, 31));
  EXPECT_EQ(read(QString::fromUtf8("31. März 1959"), "@d18"), day(1959, 3, 31));
  EXPECT_EQ(read("31. Okt. 1959", "@d18"), day(1959, 10, 31));
  EXPECT_EQ(read("31 October 1959", "@d18"), day(1959, 10, 31));
  EXPECT_EQ(read("31. Foo 1959", "@d18"), std::nullopt);
}

TEST_F(LocaleDatePicture, LocaleStylesReadBackWhatTheyShow) {
  for (const QLocale& locale :
       {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German),
        QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::Chinese, QLocale::China)}) {
    QLocale::setDefault(locale);
    for (const char* picture : {"@d17", "@d18"}) {
      SCOPED_TRACE(locale.name().toStdString() + " " + picture);
      for (QDate d(2001, 1, 1); d.year() == 2001; d = d.addDays(3)) {
        const QString text = pic::format(pic::dayNumber(d), picture);
        ASSERT_EQ(read(text, picture), pic::dayNumber(d)) << text.toStdString();
      }
    }
  }
}

}  // namespace
