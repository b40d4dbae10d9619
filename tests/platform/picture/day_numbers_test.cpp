#include <gtest/gtest.h>

#include <limits>

#include "platform/picture/clock.h"
#include "platform/picture/day_numbers.h"
#include "platform/picture/time_values.h"

namespace {

TEST(DayNumbers, CountFromTheEndOf1800) {
  const struct {
    QDate date;
    qint32 day;
  } cases[] = {
      {QDate(1800, 12, 29), 1},    {QDate(1899, 12, 31), 36162}, {QDate(1900, 1, 1), 36163},
      {QDate(1900, 2, 28), 36221}, {QDate(1900, 3, 1), 36222},  // no 29 February in 1900
      {QDate(2000, 1, 1), 72687},  {QDate(2000, 3, 1), 72747},  // but one in 2000
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
    EXPECT_EQ(pic::dayNumber(c.date), c.day);
    EXPECT_EQ(pic::dateOfDay(c.day), c.date);
  }
}

TEST(DayNumbers, ZeroIsNoDate) {
  EXPECT_EQ(pic::dayNumber(QDate()), 0);
  EXPECT_EQ(pic::dayNumber(QDate(1800, 12, 28)), 0);
  EXPECT_EQ(pic::dayNumber(QDate(1700, 6, 1)), 0);
  EXPECT_FALSE(pic::dateOfDay(0).isValid());
  EXPECT_FALSE(pic::dateOfDay(-1).isValid());
  EXPECT_FALSE(pic::dateOfDay(std::numeric_limits<qint64>::max()).isValid());
}

TEST(DayNumbers, RoundTripDayByDayThroughFourCenturies) {
  QDate expected(1800, 12, 29);
  for (qint32 day = 1; day <= 150000; ++day) {
    ASSERT_EQ(pic::dateOfDay(day), expected) << "day " << day;
    ASSERT_EQ(pic::dayNumber(expected), day);
    expected = expected.addDays(1);
  }
}

TEST(DayNumbers, TodayAndTheTimeOfDayComeFromTheClock) {
  pic::setClock(QDateTime(QDate(2039, 6, 15), QTime(23, 59, 59, 990)));
  EXPECT_EQ(pic::dateOfDay(pic::today()), QDate(2039, 6, 15));
  EXPECT_EQ(pic::clockNow(), pic::timeValue(23, 59, 59, 99));
  pic::setClock(QDateTime());
  const QDate before = QDate::currentDate();
  const QDate today = pic::dateOfDay(pic::today());
  EXPECT_TRUE(today == before || today == before.addDays(1)) << "the system's clock runs again";
}

TEST(TimeValues, HundredthsSinceMidnightPlusOne) {
  EXPECT_EQ(pic::timeValue(0, 0, 0), 1);
  EXPECT_EQ(pic::timeValue(0, 3, 25), 20501);
  EXPECT_EQ(pic::timeValue(1, 0, 0, 50), 360051);
  EXPECT_EQ(pic::timeValue(25, 3, 4), 9018401);  // sums of song times pass a day
  EXPECT_EQ(pic::timeValue(6000, 0, 0), std::numeric_limits<qint32>::max());
}

TEST(TimeValues, ClockNowIsWithinADay) {
  const qint32 now = pic::clockNow();
  EXPECT_GE(now, 1);
  EXPECT_LE(now, pic::timeValue(24, 0, 0));
}

}  // namespace
