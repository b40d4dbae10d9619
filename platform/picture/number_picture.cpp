#include "platform/picture/number_picture.h"

#include <cmath>

#include "platform/picture/value_conversion.h"

namespace pic::internal {

namespace {

// A value's magnitude as decimal digits, already rounded to the picture's places.
struct Digits {
  QString whole;     // at least "0"
  QString fraction;  // exactly `places` digits
  bool negative = false;

  bool isZero() const {
    for (QChar c : whole + fraction)
      if (c != u'0') return false;
    return true;
  }
};

std::optional<Digits> digitsOf(const Number& n, int places) {
  Digits d;
  if (n.isWhole) {
    // Unsigned so that the most negative value has a magnitude too.
    const quint64 magnitude = n.whole < 0 ? 0 - static_cast<quint64>(n.whole) : static_cast<quint64>(n.whole);
    d.whole = QString::number(magnitude);
    d.fraction = QString(places, u'0');
    d.negative = n.whole < 0;
    return d;
  }
  if (!std::isfinite(n.decimal)) return std::nullopt;
  const double magnitude = std::fabs(n.decimal);
  const double scaled = magnitude * std::pow(10.0, places);
  QString text;
  if (scaled < 9e15) {
    // Exact while below 2^53, and rounds halves away from zero as people do on paper.
    text = QString::number(static_cast<qint64>(std::round(scaled))).rightJustified(places + 1, u'0');
    text.insert(text.size() - places, u'.');
  } else {
    text = QString::number(magnitude, 'f', places);
  }
  const qsizetype point = text.indexOf(u'.');
  d.whole = point < 0 ? text : text.left(point);
  d.fraction = point < 0 ? QString() : text.mid(point + 1);
  d.negative = n.decimal < 0;
  return d;
}

QString grouped(const QString& digits, QChar separator) {
  QString out;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

// nullopt when the value cannot be shown in the picture's width.
std::optional<QString> fit(const Digits& d, const Picture& p) {
  const bool negative = d.negative && !d.isZero();
  QString lead, trail;
  if (negative) {
    switch (p.sign) {
      case NumberSign::kLeadingMinus:
        lead = u'-';
        break;
      case NumberSign::kParentheses:
        lead = u'(';
        trail = u')';
        break;
      case NumberSign::kTrailingMinus:
        trail = u'-';
        break;
    }
  }
  const QString prefix = lead + (p.currency ? QStringLiteral("$") : QString());
  const QString suffix = (p.places > 0 ? QString(p.decimalPoint) + d.fraction : QString()) + trail;
  // Separators are a courtesy: a year in "@n4" reads "1959", not "###".
  for (const bool withGroups : {true, false}) {
    if (withGroups && p.grouping.isNull()) continue;
    const QString body = withGroups ? grouped(d.whole, p.grouping) : d.whole;
    const qsizetype length = prefix.size() + body.size() + suffix.size();
    if (length > p.width) continue;
    const QString padding(p.fill.isNull() ? 0 : p.width - length, p.fill);
    // Spaces push the whole text right; zeros and asterisks go between the sign and the digits.
    if (p.fill == u' ') return padding + prefix + body + suffix;
    return prefix + padding + body + suffix;
  }
  return std::nullopt;
}

std::optional<QString> formatted(const Number& n, const Picture& p) {
  const std::optional<Digits> d = digitsOf(n, p.places);
  if (!d) return std::nullopt;
  if (p.blankWhenZero && d->isZero()) return QString();
  return fit(*d, p);
}

// Takes `prefix` off the front of `text` (and the spaces after it) when it is there.
bool takeFront(QString& text, QChar prefix) {
  if (!text.startsWith(prefix)) return false;
  text = text.mid(1).trimmed();
  return true;
}

bool takeBack(QString& text, QChar suffix) {
  if (!text.endsWith(suffix)) return false;
  text.chop(1);
  text = text.trimmed();
  return true;
}

}  // namespace

QString formatNumber(const QVariant& value, const Picture& picture) {
  const std::optional<Number> n = toNumber(value);
  if (!n) return plainText(value);
  return formatted(*n, picture).value_or(QString(picture.width, u'#'));
}

std::optional<QVariant> deformatNumber(const QString& text, const Picture& picture) {
  const auto zero = [&]() -> QVariant { return picture.places > 0 ? QVariant(0.0) : QVariant(qlonglong{0}); };
  QString rest = text.trimmed();
  if (rest.isEmpty()) return zero();

  bool negative = false;
  bool needsClose = false;
  bool hadCurrency = false;
  for (bool more = true; more;) {
    more = false;
    if (picture.currency && !hadCurrency && takeFront(rest, u'$')) {
      hadCurrency = more = true;
    } else if (!negative && takeFront(rest, u'-')) {
      negative = more = true;
    } else if (!negative && picture.sign == NumberSign::kParentheses && takeFront(rest, u'(')) {
      negative = needsClose = more = true;
    }
  }
  if (needsClose && !takeBack(rest, u')')) return std::nullopt;
  if (!negative && picture.sign == NumberSign::kTrailingMinus && takeBack(rest, u'-')) negative = true;
  if (picture.fill == u'*')
    while (takeFront(rest, u'*')) {
    }

  QString whole, fraction;
  bool inFraction = false;
  for (QChar c : rest) {
    if (isAsciiDigit(c)) {
      (inFraction ? fraction : whole) += c;
    } else if (picture.places > 0 && c == picture.decimalPoint && !inFraction) {
      inFraction = true;
    } else if (!picture.grouping.isNull() && c == picture.grouping && !inFraction) {
      // Where the separators stand is not checked: "12,34" is taken as 1234.
    } else {
      return std::nullopt;
    }
  }
  if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt;
  if (whole.isEmpty()) whole = u'0';

  Number n;
  bool ok = false;
  if (picture.places == 0) {
    n.whole = whole.toLongLong(&ok);
    if (negative) n.whole = -n.whole;
  } else {
    n.isWhole = false;
    n.decimal = (whole + u'.' + fraction).toDouble(&ok);
    // More places than the picture shows are rounded off, so the value kept is the value seen.
    const double scale = std::pow(10.0, picture.places);
    if (std::fabs(n.decimal) * scale < 9e15) n.decimal = std::round(n.decimal * scale) / scale;
    if (negative) n.decimal = -n.decimal;
  }
  if (!ok) return std::nullopt;
  Picture shown = picture;
  shown.blankWhenZero = false;
  if (!formatted(n, shown)) return std::nullopt;
  if (n.isWhole) return QVariant(qlonglong{n.whole});
  return QVariant(n.decimal == 0 ? 0.0 : n.decimal);
}

}  // namespace pic::internal
