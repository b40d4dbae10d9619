#include <gtest/gtest.h>

#include "platform/expr/expression.h"
#include "tests/platform/expr/song_file.h"

namespace {

QVariant whole(qlonglong n) {
  return QVariant(n);
}
QVariant real(double d) {
  return QVariant(d);
}
QVariant text(const char* t) {
  return QVariant(QString::fromUtf8(t));
}

class EvaluateTest : public ::testing::Test {
 protected:
  EvaluateTest() {
    names.bind(rec);
    names.bind("GLO:Wanted", wanted);
    rec.Title = "Schrei nach Liebe";
    rec.Artist = "Die Ärzte";
    rec.Year = 1993;
    rec.Rating = 4;
    rec.Plays = 0;
    rec.Code = "12abc";
    rec.Notes = "  Live";
    wanted = "Rock";
  }
  QVariant value(const char* source) {
    QString error;
    const auto e = expr::parse(QString::fromUtf8(source), names, &error);
    EXPECT_TRUE(e.has_value()) << source << ": " << error.toStdString();
    return e ? e->evaluate() : QVariant();
  }

  test::SongRecord rec;
  files::String<20> wanted;
  expr::Bindings names;
};

TEST_F(EvaluateTest, GivesTheValueOfEachConstruct) {
  const struct {
    const char* source;
    QVariant expected;
  } cases[] = {
      // Texts compare exactly: case counts, trailing spaces do not.
      {"SNG:Artist = 'Die Ärzte'", whole(1)},
      {"SNG:Artist = 'die ärzte'", whole(0)},
      {"SNG:Artist = 'Die Ärzte   '", whole(1)},
      {"SNG:Artist < 'die'", whole(1)},
      {"'Zoë' > 'Zoe'", whole(1)},
      {"UPPER(SNG:Artist)", text("DIE ÄRZTE")},
      {"UPPER('ärzte') = 'ÄRZTE'", whole(1)},
      {"LOWER('ÄRZTE')", text("ärzte")},
      // A number on either side makes the comparison numeric; two texts stay texts.
      {"SNG:Code = 12", whole(1)},
      {"SNG:Code = '12'", whole(0)},
      {"SNG:Code > 5", whole(1)},
      {"SNG:Code > '5'", whole(0)},
      {"'10' < '9'", whole(1)},
      {"'10' < 9", whole(0)},
      {"' -1.5x' = -1.5", whole(1)},
      {"'abc' = 0", whole(1)},
      {"1 = 1 = 1", whole(1)},
      // Truth: blank texts and zero are false.
      {"SNG:Title AND ' '", whole(0)},
      {"' ' OR 0", whole(0)},
      {"'0' OR 0", whole(1)},
      {"NOT SNG:Rating - 4", whole(1)},
      {"~SNG:Plays", whole(1)},
      {"NOT SNG:Year = 1993 OR SNG:Rating = 4 AND SNG:Plays", whole(0)},
      // Joining writes numbers as texts.
      {"SNG:Year & '/' & SNG:Rating", text("1993/4")},
      {"1.50 & ''", text("1.5")},
      {"0.1 + 0.2 & ''", text("0.3")},
      {"'abc' & 1 + 2", text("abc3")},
      {"CLIP('ab  ') & '|'", text("ab|")},
      // Arithmetic.
      {"2 + 3 * 4", whole(14)},
      {"(2 + 3) * 4", whole(20)},
      {"10 - 2 - 3", whole(5)},
      {"-SNG:Year", whole(-1993)},
      {"SNG:Code * 2", whole(24)},
      {"7 / 2", real(3.5)},
      {"7 / 0", whole(0)},
      {"7 % 0", whole(0)},
      {"-7 % 3", whole(-1)},
      {"7.9 % 3", whole(1)},
      {"9223372036854775807 + 1", real(9223372036854775808.0)},
      // Functions, at their edges.
      {"INSTRING('r', 'Ärzte')", whole(2)},
      {"INSTRING('', 'abc')", whole(0)},
      {"INSTRING('x', 'abc')", whole(0)},
      {"INSTRING('ab', 'xxabxxab', 2)", whole(2)},
      {"INSTRING('ab', 'abxab', 1, 2)", whole(4)},
      {"INSTRING('ab', 'xabxab', 3, 2)", whole(1)},
      {"INSTRING('a', 'abc', 0)", whole(0)},
      {"SUB('Ärzte', 2, 3)", text("rzt")},
      {"SUB('abc', -2, 5)", text("bc")},
      {"SUB('abc', 0, 2)", text("a")},
      {"SUB('abc', 5, 2)", text("")},
      {"SUB('abc', 2, 0)", text("")},
      {"SUB('abc', -9, 8)", text("ab")},
      {"SUB('a🎵b', 2, 1)", text("🎵")},
      {"LEFT('   ab  c')", text("ab  c")},
      {"LEFT('  abc', 2)", text("ab")},
      {"LEN(SNG:Notes)", whole(6)},
      {"LEN('ab   ')", whole(2)},
      {"INT(-3.7)", whole(-3)},
      {"INT('12.9xyz')", whole(12)},
      {"ABS(-5)", whole(5)},
      {"ABS(-2.5)", real(2.5)},
      // Program variables.
      {"GLO:Wanted = 'Rock'", whole(1)},
      {"SNG:Title & GLO:Wanted", text("Schrei nach LiebeRock")},
  };
  for (const auto& c : cases) {
    const QVariant v = value(c.source);
    EXPECT_EQ(v.typeId(), c.expected.typeId()) << c.source;
    EXPECT_EQ(v, c.expected) << c.source << " gave " << v.toString().toStdString();
  }
}

TEST_F(EvaluateTest, ReadsTheBoundValuesEachTime) {
  const auto e = expr::parse("SNG:Year > 1990 AND GLO:Wanted = SNG:Artist", names);
  ASSERT_TRUE(e.has_value());
  EXPECT_FALSE(e->isTrue());
  wanted = "Die Ärzte";
  EXPECT_TRUE(e->isTrue());
  rec.Year = 1980;
  EXPECT_FALSE(e->isTrue());
}

}  // namespace
