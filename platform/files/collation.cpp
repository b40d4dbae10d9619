#include "platform/files/collation.h"

#include <sqlite3.h>

#include <QString>

namespace files {
namespace {

int trimmedLength(const char* s, int n) {
  while (n > 0 && s[n - 1] == ' ')
    --n;
  return n;
}

// Decodes the code point at s[*i] and moves past it. A byte that does not start a well-formed
// sequence stands for itself (above every real code point), so broken text still orders stably.
char32_t decode(const unsigned char* s, int n, int* i) {
  const unsigned char b = s[*i];
  int len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || *i + len > n) {
    ++*i;
    return 0x110000 + b;
  }
  char32_t c = len == 1 ? b : b & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    if ((s[*i + k] & 0xC0) != 0x80) {
      ++*i;
      return 0x110000 + b;
    }
    c = (c << 6) | (s[*i + k] & 0x3F);
  }
  *i += len;
  return c;
}

char32_t fold(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
  return c < 0x110000 ? QChar::toCaseFolded(c) : c;
}

int collate(void*, int na, const void* a, int nb, const void* b) {
  return compareText(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

}  // namespace

int compareText(const char* a, int na, const char* b, int nb) {
  na = trimmedLength(a, na);
  nb = trimmedLength(b, nb);
  const auto* ua = reinterpret_cast<const unsigned char*>(a);
  const auto* ub = reinterpret_cast<const unsigned char*>(b);
  int i = 0, j = 0;
  while (i < na && j < nb) {
    char32_t ca, cb;
    if (ua[i] < 0x80 && ub[j] < 0x80) {  // the common case, without decoding
      ca = fold(ua[i++]);
      cb = fold(ub[j++]);
    } else {
      ca = fold(decode(ua, na, &i));
      cb = fold(decode(ub, nb, &j));
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (i < na) return 1;
  if (j < nb) return -1;
  return 0;
}

int registerCollation(sqlite3* db) {
  return sqlite3_create_collation_v2(db, kCollationName, SQLITE_UTF8, nullptr, collate, nullptr);
}

}  // namespace files
