#include "platform/text/encoding.h"

namespace encoding {
namespace {

// Characters of the bytes 0x80-0x9F; below and above them the code page is Latin-1, whose bytes
// are the first 256 Unicode characters.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Continuation bytes after a byte that starts a sequence; -1 for a byte that cannot start one.
int continuationsAfter(unsigned char b) {
  if (b < 0x80) return 0;
  if (b >= 0xC2 && b <= 0xDF) return 1;
  if (b >= 0xE0 && b <= 0xEF) return 2;
  if (b >= 0xF0 && b <= 0xF4) return 3;
  return -1;
}

std::optional<char> byteOf(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return char(0x80 + i);
  return std::nullopt;
}

}  // namespace

bool Utf8Check::feed(QByteArrayView bytes) {
  for (const char c : bytes) {
    if (!ok_) break;
    const auto b = static_cast<unsigned char>(c);
    if (pending_ > 0) {
      ok_ = (b & 0xC0) == 0x80;
      --pending_;
      continue;
    }
    pending_ = continuationsAfter(b);
    ok_ = pending_ >= 0;
  }
  return ok_;
}

bool isUtf8(QByteArrayView bytes) {
  Utf8Check check;
  check.feed(bytes);
  return check.valid();
}

QString fromWindows1252(QByteArrayView bytes) {
  QString out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
  }
  return out;
}

std::optional<QByteArray> toWindows1252(QStringView text) {
  QByteArray out;
  out.reserve(text.size());
  for (const QChar c : text) {
    const std::optional<char> b = byteOf(c.unicode());
    if (!b) return std::nullopt;
    out += *b;
  }
  return out;
}

}  // namespace encoding
