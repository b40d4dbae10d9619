#include <QStringView>

#include "platform/picture/picture.h"
#include "platform/picture/value_conversion.h"

namespace pic {

namespace {

constexpr int kLastDateStyle = 18;
constexpr int kLastTimeStyle = 8;
// Wider fields than this are typing mistakes, and would only make huge paddings.
constexpr qsizetype kMostWidthDigits = 3;

class Cursor {
 public:
  explicit Cursor(QStringView text) : text_(text) {}

  bool atEnd() const { return pos_ == text_.size(); }
  // A null character past the end.
  QChar peek(qsizetype ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead].toLower() : QChar();
  }
  bool take(QChar c) {
    if (atEnd() || peek() != c) return false;
    ++pos_;
    return true;
  }
  QString digits() {
    const qsizetype start = pos_;
    while (!atEnd() && internal::isAsciiDigit(text_[pos_]))
      ++pos_;
    return text_.mid(start, pos_ - start).toString();
  }

 private:
  QStringView text_;
  qsizetype pos_ = 0;
};

// The width digits of a picture: nullopt when missing (if required), zero, or absurdly many.
std::optional<int> width(Cursor& c, bool required) {
  const QString digits = c.digits();
  if (digits.isEmpty() && !required) return 0;
  if (digits.isEmpty() || digits.size() > kMostWidthDigits || digits.toInt() == 0) return std::nullopt;
  return digits.toInt();
}

std::optional<Picture> textPicture(QStringView rest) {
  Cursor c(rest);
  const std::optional<int> w = width(c, false);
  if (!w || !c.atEnd()) return std::nullopt;
  return Picture{.kind = PictureKind::kText, .width = *w};
}

// [$] [- or (] [0 _ *] width [. - _] [.d or 'd] [- or )] [b]
std::optional<Picture> numberPicture(QStringView rest) {
  Cursor c(rest);
  Picture p{.kind = PictureKind::kNumber};
  p.currency = c.take(u'$');
  const bool leadingMinus = c.take(u'-');
  const bool openParen = !leadingMinus && c.take(u'(');
  if (c.take(u'_'))
    p.fill = u' ';
  else if (c.take(u'*'))
    p.fill = u'*';
  else if (c.peek() == u'0' && internal::isAsciiDigit(c.peek(1)) && c.take(u'0'))
    p.fill = u'0';
  const std::optional<int> w = width(c, true);
  if (!w) return std::nullopt;
  p.width = *w;

  QChar grouping = u',';
  bool explicitGrouping = true;
  if (c.peek() == u'.' && !internal::isAsciiDigit(c.peek(1))) {
    grouping = u'.';
  } else if (c.peek() == u'-' && !c.peek(1).isNull() && c.peek(1) != u'b') {
    // A dash that ends the picture (before "b") is a trailing minus, not a grouping character.
    grouping = u'-';
  } else if (c.peek() == u'_') {
    grouping = u' ';
  } else {
    explicitGrouping = false;
  }
  if (explicitGrouping) c.take(c.peek());

  if ((c.peek() == u'.' || c.peek() == u'\'') && internal::isAsciiDigit(c.peek(1))) {
    p.decimalPoint = c.peek() == u'.' ? u'.' : u',';
    c.take(c.peek());
    const QString places = c.digits();
    if (places.size() > 2) return std::nullopt;
    p.places = places.toInt();
  }
  const bool trailingMinus = c.take(u'-');
  const bool closeParen = !trailingMinus && c.take(u')');
  p.blankWhenZero = c.take(u'b');
  if (!c.atEnd() || openParen != closeParen || (leadingMinus && trailingMinus)) return std::nullopt;
  p.sign = openParen       ? NumberSign::kParentheses
           : trailingMinus ? NumberSign::kTrailingMinus
                           : NumberSign::kLeadingMinus;

  // With a decimal comma the groups take points unless told otherwise; zero fill never groups.
  if (!explicitGrouping && p.decimalPoint == u',') grouping = u'.';
  if (p.places > 0 && grouping == p.decimalPoint) return std::nullopt;
  if (p.fill != u'0') p.grouping = grouping;
  return p;
}

// style [. - _ '] [b], for both dates and times.
std::optional<Picture> clockPicture(QStringView rest, PictureKind kind, int lastStyle) {
  Cursor c(rest);
  const QString style = c.digits();
  if (style.isEmpty() || style.size() > 2 || style.toInt() < 1 || style.toInt() > lastStyle)
    return std::nullopt;
  Picture p{.kind = kind, .style = style.toInt()};
  static constexpr std::pair<char16_t, char16_t> kSeparators[] = {
      {u'.', u'.'}, {u'-', u'-'}, {u'_', u' '}, {u'\'', u','}};
  for (const auto& [mark, separator] : kSeparators)
    if (c.take(mark)) {
      p.separator = separator;
      break;
    }
  p.blankWhenZero = c.take(u'b');
  if (!c.atEnd()) return std::nullopt;
  return p;
}

// <pattern> p [b]; the last "p" closes the pattern so that the pattern itself may hold one.
std::optional<Picture> patternPicture(QStringView rest) {
  Picture p{.kind = PictureKind::kPattern};
  qsizetype close = rest.size() - 1;
  if (close >= 1 && rest[close].toLower() == u'b' && rest[close - 1].toLower() == u'p') {
    p.blankWhenZero = true;
    --close;
  }
  if (close < 0 || rest[close].toLower() != u'p') return std::nullopt;
  p.pattern = rest.left(close).toString();
  return p;
}

}  // namespace

std::optional<Picture> parsePicture(const QString& picture) {
  QStringView text = QStringView(picture).trimmed();
  if (text.startsWith(u'@')) text = text.mid(1);
  if (text.isEmpty()) return std::nullopt;
  const QStringView rest = text.mid(1);
  switch (text[0].toLower().unicode()) {
    case u's':
      return textPicture(rest);
    case u'n':
      return numberPicture(rest);
    case u'd':
      return clockPicture(rest, PictureKind::kDate, kLastDateStyle);
    case u't':
      return clockPicture(rest, PictureKind::kTime, kLastTimeStyle);
    case u'p':
      return patternPicture(rest);
    default:
      return std::nullopt;
  }
}

bool isValidPicture(const QString& picture) {
  return parsePicture(picture).has_value();
}

}  // namespace pic
