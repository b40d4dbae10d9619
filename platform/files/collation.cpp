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

unsigned char asciiLower(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

int compareFolded(const char* a, int na, const char* b, int nb) {
  const QString fa = QString::fromUtf8(a, na).toCaseFolded();
  const QString fb = QString::fromUtf8(b, nb).toCaseFolded();
  return fa.compare(fb, Qt::CaseSensitive);
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
  const int n = na < nb ? na : nb;
  for (int i = 0; i < n; ++i) {
    if (ua[i] >= 0x80 || ub[i] >= 0x80) {
      // Both prefixes are equal ASCII up to here, so folding the rest decides the order. i sits on a
      // character boundary because everything before it is ASCII.
      return compareFolded(a + i, na - i, b + i, nb - i);
    }
    const unsigned char ca = asciiLower(ua[i]);
    const unsigned char cb = asciiLower(ub[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (na == nb) return 0;
  // One text is a prefix of the other; the longer one may still fold to something shorter (rare
  // characters such as U+0130), so only plain ASCII remainders decide here.
  const unsigned char* rest = na > nb ? ua + n : ub + n;
  if (*rest >= 0x80) return compareFolded(a + n, na - n, b + n, nb - n);
  return na < nb ? -1 : 1;
}

int registerCollation(sqlite3* db) {
  return sqlite3_create_collation_v2(db, kCollationName, SQLITE_UTF8, nullptr, collate, nullptr);
}

}  // namespace files
