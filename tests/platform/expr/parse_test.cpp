#include <gtest/gtest.h>

#include "platform/expr/expression.h"
#include "tests/platform/expr/song_file.h"

namespace {

class ParseTest : public ::testing::Test {
 protected:
  ParseTest() {
    names.bind(rec);
    names.bind("BRW1::Sort3:Reset:GLO:Limit", limit);
  }
  test::SongRecord rec;
  files::Long limit;
  expr::Bindings names;
};

TEST_F(ParseTest, AcceptsTheWholeLanguage) {
  const char* valid[] = {
      "SNG:Artist = 'x'",
      "upper(sng:artist) <> 'X' and not sng:year < 1990",
      "SNG:Year ~= 3 Or ~SNG:Rating",
      "SNG:Year =< 3 OR SNG:Year => 4 OR SNG:Year <= 5 OR SNG:Year >= 6 OR SNG:Year < 1 OR SNG:Year > 2",
      "(((1)))",
      "'Rock ''n'' Roll' = SNG:Title",
      "BRW1::Sort3:Reset:GLO:Limit >= 3",
      "INSTRING('a', SNG:Title) + INSTRING('a', SNG:Title, 2) + InString('a', SNG:Title, 1, 2)",
      "LEFT(SNG:Title) & LEFT(SNG:Title, 2) & SUB(SNG:Title, -1, 1) & CLIP(SNG:Notes) & LOWER('Ä')",
      "INT(3.5) + LEN(SNG:Code) + ABS(-2) * 3 / 4 % 5 - -.5",
      "NOT NOT (SNG:Year = 1 AND (SNG:Rating OR SNG:Code))",
  };
  for (const char* text : valid) {
    QString error;
    const auto e = expr::parse(QString::fromUtf8(text), names, &error);
    ASSERT_TRUE(e.has_value()) << text << ": " << error.toStdString();
    EXPECT_EQ(e->text(), QString::fromUtf8(text));
  }
}

TEST_F(ParseTest, RefusesWithTheProblemAndItsPlace) {
  const struct {
    const char* text;
    const char* mentions;  // the error names these
  } invalid[] = {
      {"(SNG:Year = 1", "position 1"},
      {"SUB(SNG:Title, 1, 2", "position 4"},
      {"SNG:Year = 1)", "position 13"},
      {"FOO(1)", "FOO"},
      {"SNG:Nothing = 1", "SNG:Nothing"},
      {"Limit = 1", "Limit"},
      {"SUB('a', 1)", "SUB"},
      {"UPPER()", "UPPER"},
      {"LEFT('a', 1, 2)", "LEFT"},
      {"INSTRING('a')", "INSTRING"},
      {"SNG:Year = 1 2", "position 14"},
      {"SNG:Year = 1 SNG:Rating", "position 14"},
      {"SNG:Year =", "ends"},
      {"'abc", "position 1"},
      {"SNG:Year # 3", "position 10"},
      {"AND 1", "position 1"},
      {"1 AND", "ends"},
      {"SNG:Year = NOT 1", "position 12"},
      {"3.", "position 2"},
      {"", "empty"},
      {"   ", "empty"},
  };
  for (const auto& c : invalid) {
    QString error;
    EXPECT_FALSE(expr::parse(c.text, names, &error).has_value()) << c.text;
    EXPECT_TRUE(error.contains(QString::fromUtf8(c.mentions))) << c.text << ": " << error.toStdString();
  }
}

TEST_F(ParseTest, NamesAreFoundWithoutCaseAndThroughTheParent) {
  files::String<10> user;
  expr::Bindings parent;
  parent.bind("GLO:User", user);
  expr::Bindings child(&parent);
  child.bind(rec.Title);
  EXPECT_TRUE(expr::parse("glo:user = sng:TITLE", child).has_value());
  EXPECT_FALSE(expr::parse("SNG:Artist = ''", child).has_value()) << "only the title is bound";

  const auto before = expr::parse("GLO:User = 'me'", child);
  parent.unbind("glo:USER");
  EXPECT_FALSE(expr::parse("GLO:User = 'me'", child).has_value());
  ASSERT_TRUE(before.has_value());
  user = "me";
  EXPECT_TRUE(before->isTrue()) << "a parsed filter keeps what it was parsed with";
}

}  // namespace
