#include "platform/files/text_functions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace files {
namespace {

// Far beyond any text's length: positions and lengths are held inside it so that sums cannot overflow.
constexpr qint64 kFar = qint64(1) << 40;

qint64 codePoints(const QString& s) {
  qint64 n = 0;
  for (qsizetype i = 0; i < s.size(); ++i, ++n)
    if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ++i;
  return n;
}

// The UTF-16 index just after the first `chars` code points (the text's size when it is shorter).
qsizetype unitsOf(const QString& s, qint64 chars) {
  qsizetype i = 0;
  for (qint64 c = 0; c < chars && i < s.size(); ++c)
    i += (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ? 2 : 1;
  return i;
}

// Orders UTF-16 units as their code points order: surrogates (the code points above U+FFFF) after
// U+E000..U+FFFF.
int codePointRank(char16_t c) {
  if (c < 0xD800) return c;
  return c >= 0xE000 ? c - 0x800 : c + 0x2000;
}

qsizetype clippedSize(const QString& s) {
  qsizetype n = s.size();
  while (n > 0 && s[n - 1] == ' ')
    --n;
  return n;
}

bool isAsciiDigit(QChar c) {
  return c >= '0' && c <= '9';
}

}  // namespace

QString upperText(const QString& s) {
  return s.toUpper();
}

QString lowerText(const QString& s) {
  return s.toLower();
}

QString clipText(const QString& s) {
  const qsizetype n = clippedSize(s);
  return n == s.size() ? s : s.left(n);
}

qint64 lengthOfText(const QString& s) {
  return codePoints(clipText(s));
}

QString subText(const QString& s, qint64 start, qint64 length) {
  if (length <= 0) return QString();
  const qint64 n = codePoints(s);
  start = std::clamp(start, -kFar, kFar);
  length = std::min(length, kFar);
  if (start < 0) start = n + 1 + start;
  const qint64 from = std::max<qint64>(start, 1);
  const qint64 to = std::min(start + length - 1, n);
  if (from > to) return QString();
  const qsizetype begin = unitsOf(s, from - 1);
  return s.mid(begin, unitsOf(s, to) - begin);
}

qint64 inString(const QString& sub, const QString& s, qint64 step, qint64 start) {
  if (sub.isEmpty() || step < 1) return 0;
  step = std::min(step, kFar);
  start = std::clamp<qint64>(start, 1, kFar);
  const QList<uint> needle = sub.toUcs4();
  const QList<uint> hay = s.toUcs4();
  const qint64 m = needle.size();
  const qint64 n = hay.size();
  for (qint64 pos = start; pos + m - 1 <= n; pos += step) {
    if (std::equal(needle.begin(), needle.end(), hay.begin() + (pos - 1))) return (pos - 1) / step + 1;
  }
  return 0;
}

QString leftText(const QString& s, qint64 length) {
  qsizetype lead = 0;
  while (lead < s.size() && s[lead] == ' ')
    ++lead;
  const QString rest = s.mid(lead);
  if (length < 0) return rest;
  return rest.left(unitsOf(rest, length));
}

qint64 intValue(double d) {
  if (std::isnan(d)) return 0;
  // 2^63 is exact as a double; every double below it in magnitude truncates into range.
  if (d >= 9223372036854775808.0) return std::numeric_limits<qint64>::max();
  if (d <= -9223372036854775808.0) return std::numeric_limits<qint64>::min();
  return static_cast<qint64>(d);
}

int compareExact(const QString& a, const QString& b) {
  const qsizetype na = clippedSize(a), nb = clippedSize(b);
  const qsizetype n = std::min(na, nb);
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t ca = a[i].unicode(), cb = b[i].unicode();
    if (ca != cb) return codePointRank(ca) < codePointRank(cb) ? -1 : 1;
  }
  return na == nb ? 0 : na < nb ? -1 : 1;
}

int compareExactUtf8(const char* a, int na, const char* b, int nb) {
  while (na > 0 && a[na - 1] == ' ')
    --na;
  while (nb > 0 && b[nb - 1] == ' ')
    --nb;
  const int c = std::memcmp(a, b, size_t(std::min(na, nb)));
  if (c != 0) return c < 0 ? -1 : 1;
  return na == nb ? 0 : na < nb ? -1 : 1;
}

QVariant numberValueOfText(const QString& s) {
  qsizetype i = 0;
  while (i < s.size() && s[i] == ' ')
    ++i;
  QByteArray number;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') number += '-';
    ++i;
  }
  const qsizetype wholeStart = i;
  while (i < s.size() && isAsciiDigit(s[i]))
    number += char(s[i++].unicode());
  const bool hasWhole = i > wholeStart;
  const bool hasFraction = i + 1 < s.size() && s[i] == '.' && isAsciiDigit(s[i + 1]);
  if (!hasWhole && !hasFraction) return qlonglong(0);
  if (!hasFraction) {
    bool ok = false;
    const qlonglong whole = number.toLongLong(&ok);
    if (ok) return whole;
    return number.toDouble();
  }
  if (!hasWhole) number += '0';
  number += '.';
  for (++i; i < s.size() && isAsciiDigit(s[i]); ++i)
    number += char(s[i].unicode());
  return number.toDouble();
}

double numberOfText(const QString& s) {
  return numberValueOfText(s).toDouble();
}

QString textOfNumber(qint64 n) {
  return QString::number(n);
}

QString textOfNumber(double d) {
  if (d == 0) return QStringLiteral("0");
  return QString::number(d, 'g', 15);
}

QVariant absNumber(const QVariant& n) {
  if (n.typeId() == QMetaType::Double) return std::fabs(n.toDouble());
  const qint64 v = n.toLongLong();
  if (v == std::numeric_limits<qint64>::min()) return -double(v);
  return qlonglong(v < 0 ? -v : v);
}

}  // namespace files
