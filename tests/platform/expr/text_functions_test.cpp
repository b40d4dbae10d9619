#include "platform/files/text_functions.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFunctions, TextsReadAsTheirLeadingDecimalNumber) {
  const struct {
    const char* text;
    QVariant number;
  } cases[] = {
      {"12abc", qlonglong(12)}, {"1.5x", 1.5},
      {"abc", qlonglong(0)},    {"", qlonglong(0)},
      {"-3", qlonglong(-3)},    {"  +7", qlonglong(7)},
      {" -1.25 ", -1.25},       {".5", 0.5},
      {"1e3", qlonglong(1)},    {"0x10", qlonglong(0)},
      {"12.", qlonglong(12)},   {"- 3", qlonglong(0)},
      {"\t5", qlonglong(0)},    {"99999999999999999999", 1e20},
  };
  for (const auto& c : cases) {
    const QVariant n = files::numberValueOfText(QString::fromUtf8(c.text));
    EXPECT_EQ(n.typeId(), c.number.typeId()) << c.text;
    EXPECT_EQ(n, c.number) << c.text;
    EXPECT_EQ(files::numberOfText(QString::fromUtf8(c.text)), c.number.toDouble()) << c.text;
  }
}

TEST(TextFunctions, ExactOrderIsCodePointOrder) {
  // U+1F3B5 is above U+FFFD although its first UTF-16 unit (a surrogate) is below.
  const QString note = QString::fromUtf8("\xF0\x9F\x8E\xB5"), replacement = QString::fromUtf8("\xEF\xBF\xBD");
  EXPECT_GT(files::compareExact(note, replacement), 0);
  const QByteArray n = note.toUtf8(), r = replacement.toUtf8();
  EXPECT_GT(files::compareExactUtf8(n.constData(), int(n.size()), r.constData(), int(r.size())), 0);
  EXPECT_EQ(files::compareExact("ab  ", "ab"), 0);
  EXPECT_LT(files::compareExact("Ab", "ab"), 0);
  EXPECT_LT(files::compareExact(" ab", "ab"), 0);
}

TEST(TextFunctions, NumbersWriteWithoutNeedlessDigits) {
  EXPECT_EQ(files::textOfNumber(3.0), "3");
  EXPECT_EQ(files::textOfNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(files::textOfNumber(-0.0), "0");
  EXPECT_EQ(files::textOfNumber(qint64(-9007199254740993)), "-9007199254740993");
  EXPECT_EQ(files::intValue(-1e300), std::numeric_limits<qint64>::min());
  EXPECT_EQ(files::intValue(2.99), 2);
}

}  // namespace
