#include <gtest/gtest.h>

#include "platform/picture/picture.h"

namespace {

std::optional<qlonglong> read(const char* text, const char* picture) {
  const std::optional<QVariant> v = pic::deformat(QString::fromUtf8(text), picture);
  if (!v) return std::nullopt;
  EXPECT_EQ(v->typeId(), QMetaType::LongLong);
  return v->toLongLong();
}

TEST(PatternPicture, Formats) {
  const struct {
    qlonglong value;
    const char* picture;
    const char* expected;
  } cases[] = {
      {5, "@p(<)pb", "(5)"},
      {0, "@p(<)pb", ""},
      {0, "@p(<)p", "( )"},
      {1, "@p<<-pb", " 1-"},
      {12, "@p<<-pb", "12-"},
      {5551234, "@p###-####p", "555-1234"},
      {42, "@p###-####p", "000-0042"},
      {0, "@p<#p", " 0"},
      {7, "@P<#P", " 7"},
      {42, "@pNo. ##p", "No. 42"},
      // Too many digits or a sign: the digit positions show '#'.
      {12345678, "@p###-####p", "###-####"},
      {-5, "@p(##)p", "(##)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(pic::format(c.value, c.picture).toStdString(), c.expected);
  }
}

TEST(PatternPicture, Deformats) {
  const struct {
    const char* text;
    const char* picture;
    std::optional<qlonglong> expected;
  } cases[] = {
      {"", "@p(<)pb", 0},
      {"( )", "@p(<)p", 0},
      {"(5)", "@p(<)pb", 5},
      {" 1-", "@p<<-pb", 1},
      {"555-1234", "@p###-####p", 5551234},
      {"5551234", "@p###-####p", 5551234},
      {" 555 1234 ", "@p###-####p", 5551234},
      {"0001234", "@p###-####p", 1234},
      // Digits of the pattern's own text are not part of the number where the text has its shape.
      {"+1 (555) 123-4567", "@p+1 (###) ###-####p", 5551234567},
      {"No. 42", "@pNo. ##p", 42},
      // Refused.
      {"12345678", "@p###-####p", std::nullopt},
      {"555-12a4", "@p###-####p", std::nullopt},
      {"123", "@p##p", std::nullopt},
      {"+1 (555) 123-45678", "@p+1 (###) ###-####p", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " \"" + c.text + "\"");
    EXPECT_EQ(read(c.text, c.picture), c.expected);
  }
}

}  // namespace
