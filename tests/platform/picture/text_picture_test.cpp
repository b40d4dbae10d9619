#include <gtest/gtest.h>

#include "platform/picture/picture.h"

namespace {

std::string shown(const QVariant& value, const char* picture) {
  return pic::format(value, QString::fromUtf8(picture)).toStdString();
}

TEST(TextPicture, CutsToTheWidthInCodePoints) {
  const struct {
    QVariant value;
    const char* picture;
    const char* expected;
  } cases[] = {
      {"Hello world", "@s5", "Hello"},
      {"Hi", "@s5", "Hi"},  // no padding
      {"Hello world", "@s", "Hello world"},
      {"Hello", "@S2", "He"},
      {QString::fromUtf8("a😀b😀"), "@s3", "a😀b"},  // a surrogate pair is one character
      {QVariant(42LL), "@s10", "42"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(shown(c.value, c.picture), c.expected);
  }
  EXPECT_EQ(pic::deformat("Hello world", "@s5"), QVariant("Hello"));
  EXPECT_EQ(pic::deformat(QString::fromUtf8("😀😀😀"), "@s2"), QVariant(QString::fromUtf8("😀😀")));
}

TEST(TextPicture, OtherAndBrokenPicturesShowPlainText) {
  const struct {
    QVariant value;
    const char* picture;
    const char* expected;
  } cases[] = {
      {"x", "@k5", "x"},        {1.5, "@e12", "1.5"},   {"abc", "@n", "abc"},
      {QVariant(5LL), "", "5"}, {"abc", "@d99", "abc"}, {QVariant(7LL), "@p##", "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(shown(c.value, c.picture), c.expected);
    EXPECT_EQ(pic::deformat(QString::fromUtf8(c.expected), c.picture),
              QVariant(QString::fromUtf8(c.expected)));
  }
}

}  // namespace
