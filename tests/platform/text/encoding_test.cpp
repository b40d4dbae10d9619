#include "platform/text/encoding.h"

#include <gtest/gtest.h>

#include "tests/support/qt_printers.h"

namespace {

TEST(Windows1252, EveryByteReadsAndWritesBackAsItself) {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    all += char(b);
  const QString text = encoding::fromWindows1252(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(text[0x80], QChar(0x20AC));
  EXPECT_EQ(text[0xE9], QChar(0xE9));
  EXPECT_EQ(encoding::toWindows1252(text), all);
  EXPECT_FALSE(encoding::toWindows1252(QString::fromUtf8("Caf\xC3\xA9 \xE6\x97\xA5")));
  EXPECT_FALSE(encoding::toWindows1252(QString(QChar(0x0100)))) << "just past Latin-1";
}

TEST(Utf8Check, TellsUtf8FromOtherBytesAcrossPieces) {
  const struct {
    QByteArray bytes;
    bool utf8;
  } cases[] = {
      {"", true},
      {"plain", true},
      {"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5", true},
      {"Caf\xE9", false},
      {"\xC3", false},             // a sequence cut off at the end
      {"\xC3(", false},            // a lead byte without its continuation
      {"\x80", false},             // a continuation without a lead
      {"\xC0\xAF", false},         // a lead byte that never starts a sequence
      {"\xF5\x80\x80\x80", false}  // beyond Unicode
  };
  for (const auto& c : cases) {
    EXPECT_EQ(encoding::isUtf8(c.bytes), c.utf8) << c.bytes.toHex().constData();
    // The same bytes fed one at a time: every sequence is split between pieces.
    encoding::Utf8Check check;
    for (const char b : c.bytes)
      check.feed(QByteArrayView(&b, 1));
    EXPECT_EQ(check.valid(), c.utf8) << c.bytes.toHex().constData();
  }
}

}  // namespace
