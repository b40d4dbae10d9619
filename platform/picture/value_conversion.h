#pragma once

// How the pictures look at the values they are given, and text measured in code points.

#include <QString>
#include <QVariant>
#include <optional>

namespace pic::internal {

struct Number {
  bool isWhole = true;
  qint64 whole = 0;
  double decimal = 0;
};

// A null value is 0; numeric texts count as numbers; anything else (words, lists) is no number.
std::optional<Number> toNumber(const QVariant& value);
// Like toNumber, with decimals rounded to the nearest whole number.
std::optional<qint64> toWhole(const QVariant& value);
QString plainText(const QVariant& value);

qsizetype codePointCount(const QString& text);
QString leftCodePoints(const QString& text, qsizetype count);

inline bool isAsciiDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace pic::internal
