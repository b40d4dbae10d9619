#include "platform/picture/pattern_picture.h"

#include <algorithm>

#include "platform/picture/value_conversion.h"

namespace pic::internal {

namespace {

bool isDigitPosition(QChar c) {
  return c == u'#' || c == u'<';
}

qsizetype digitPositions(const QString& pattern) {
  return std::count_if(pattern.begin(), pattern.end(), isDigitPosition);
}

// The digits of a text shown in the pattern, read position by position; nullopt when the text does not
// have the pattern's shape. This keeps digits that are part of the pattern's own text ("+1 (###)") out.
std::optional<QString> digitsInPlace(const QString& text, const QString& pattern) {
  if (text.size() != pattern.size()) return std::nullopt;
  QString digits;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    if (!isDigitPosition(pattern[i])) {
      if (text[i] != pattern[i]) return std::nullopt;
    } else if (isAsciiDigit(text[i])) {
      digits += text[i];
    } else if (text[i] != u' ' || !digits.isEmpty()) {
      return std::nullopt;
    }
  }
  return digits;
}

// Every digit of the text in order; letters are refused unless the pattern shows them itself.
std::optional<QString> digitsAnywhere(const QString& text, const QString& pattern) {
  const QString literalLetters = pattern.toCaseFolded();
  QString digits;
  for (QChar c : text) {
    if (isAsciiDigit(c))
      digits += c;
    else if (c.isLetter() && !literalLetters.contains(c.toCaseFolded()))
      return std::nullopt;
  }
  return digits;
}

}  // namespace

QString formatPattern(const QVariant& value, const Picture& picture) {
  const std::optional<qint64> number = toWhole(value);
  if (!number) return plainText(value);
  if (*number == 0 && picture.blankWhenZero) return {};
  const qsizetype positions = digitPositions(picture.pattern);
  const QString digits = QString::number(*number);
  // A pattern has no place for a sign, and a cut number would be a wrong one: both show as '#'.
  const bool fits = *number >= 0 && digits.size() <= positions;
  const QString padded = digits.rightJustified(positions, u'0');
  QString out;
  qsizetype next = 0;
  bool leading = true;
  for (QChar c : picture.pattern) {
    if (!isDigitPosition(c)) {
      out += c;
    } else if (!fits) {
      out += u'#';
    } else {
      const QChar digit = padded[next++];
      leading = leading && digit == u'0';
      out += c == u'<' && leading ? QChar(u' ') : digit;
    }
  }
  return out;
}

std::optional<QVariant> deformatPattern(const QString& text, const Picture& picture) {
  if (text.trimmed().isEmpty()) return QVariant(qlonglong{0});
  std::optional<QString> digits = digitsInPlace(text, picture.pattern);
  if (!digits) digits = digitsAnywhere(text, picture.pattern);
  if (!digits) return std::nullopt;
  qsizetype firstSignificant = 0;
  while (firstSignificant < digits->size() && (*digits)[firstSignificant] == u'0')
    ++firstSignificant;
  const QString significant = digits->mid(firstSignificant);
  if (significant.size() > digitPositions(picture.pattern)) return std::nullopt;
  bool ok = true;
  const qlonglong number = significant.isEmpty() ? 0 : significant.toLongLong(&ok);
  if (!ok) return std::nullopt;
  return QVariant(number);
}

}  // namespace pic::internal
