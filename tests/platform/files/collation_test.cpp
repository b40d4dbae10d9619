#include "platform/files/collation.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

namespace {

int compare(const QByteArray& a, const QByteArray& b) {
  const int c = files::compareText(a.constData(), int(a.size()), b.constData(), int(b.size()));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

TEST(Collation, TextsCompareByFoldedCharactersIgnoringTrailingSpaces) {
  const struct {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"Ärzte", "ärzte", 0}, {"ÉTÉ", "été", 0},        {"abc   ", "ABC", 0}, {"", "   ", 0},
      {"a", "B", -1},        {"ab", "abc", -1},        {"Zoë", "zoe", 1},    {"b", "Über", -1},
      {"Über", "uber", 1},   {"straße", "STRASSE", 1}, {"Ω", "ω", 0},        {" a", "a", -1},
      {"\xC3", "a", 1},  // a broken sequence orders after every character, and stably
  };
  for (const auto& c : cases) {
    EXPECT_EQ(compare(c.a, c.b), c.order) << c.a << " : " << c.b;
    EXPECT_EQ(compare(c.b, c.a), -c.order) << c.b << " : " << c.a;
  }
}

}  // namespace
