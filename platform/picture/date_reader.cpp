#include <QLocale>
#include <utility>

#include "platform/picture/date_layout.h"
#include "platform/picture/english_names.h"
#include "platform/picture/value_conversion.h"

namespace pic::internal {

namespace {

using Names = std::vector<std::pair<QString, int>>;

void addName(Names& names, const QString& name, int number) {
  if (name.isEmpty()) return;
  names.emplace_back(name, number);
  // "Okt." is also typed "Okt"; the point is then taken as a separator.
  if (name.endsWith(u'.') && name.size() > 1) names.emplace_back(name.chopped(1), number);
}

Names monthNames(DateNames source) {
  Names names;
  for (int m = 1; m <= 12; ++m) {
    addName(names, englishMonthName(m), m);
    addName(names, englishMonthName(m).left(3), m);
    if (source == DateNames::kLocale) {
      const QLocale locale;
      for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
        addName(names, locale.monthName(m, type), m);
        addName(names, locale.standaloneMonthName(m, type), m);
      }
    }
  }
  return names;
}

Names weekdayNames(DateNames source) {
  Names names;
  for (int d = 1; d <= 7; ++d) {
    addName(names, englishWeekdayName(d), d);
    addName(names, englishWeekdayName(d).left(3), d);
    if (source == DateNames::kLocale) {
      const QLocale locale;
      for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
        addName(names, locale.dayName(d, type), d);
        addName(names, locale.standaloneDayName(d, type), d);
      }
    }
  }
  return names;
}

bool isSeparator(QChar c) {
  return c.isSpace() || QStringLiteral("/-.,").contains(c);
}

bool isNumericField(DateField f) {
  return f == DateField::kDay || f == DateField::kDay2 || f == DateField::kMonth || f == DateField::kMonth2 ||
         f == DateField::kYear2 || f == DateField::kYear4;
}

class Reader {
 public:
  explicit Reader(const QString& text) : text_(text) {}

  bool atEnd() const { return pos_ == text_.size(); }

  void skipSeparators(QChar alsoSkip = {}) {
    while (pos_ < text_.size() && (isSeparator(text_[pos_]) || text_[pos_] == alsoSkip))
      ++pos_;
  }

  qsizetype digitRun() const {
    qsizetype end = pos_;
    while (end < text_.size() && isAsciiDigit(text_[end]))
      ++end;
    return end - pos_;
  }

  QString digits(qsizetype most) {
    const qsizetype start = pos_;
    while (pos_ < text_.size() && pos_ - start < most && isAsciiDigit(text_[pos_]))
      ++pos_;
    return text_.mid(start, pos_ - start);
  }

  // Literal text of the layout may be left out by the user ("31 octubre 1959" for "31 de octubre de
  // 1959"); a word is only taken whole, so "de" never eats the start of "diciembre". Single characters
  // are taken on their own, as CJK layouts put them straight against names ("日星期六").
  void skipLiteral(const QString& literal) {
    for (qsizetype i = 0; i < literal.size();) {
      if (!literal[i].isLetter()) {
        if (isAsciiDigit(literal[i])) {
          if (pos_ < text_.size() && text_[pos_] == literal[i]) ++pos_;
        } else {
          skipSeparators(literal[i]);
        }
        ++i;
        continue;
      }
      qsizetype end = i;
      while (end < literal.size() && literal[end].isLetter())
        ++end;
      const QString word = literal.mid(i, end - i);
      const qsizetype after = pos_ + word.size();
      if (rest().startsWith(word, Qt::CaseInsensitive) &&
          (word.size() == 1 || after == text_.size() || !text_[after].isLetter()))
        pos_ = after;
      i = end;
    }
  }

  // The number of the longest name the text goes on with, or 0.
  int takeName(const Names& names) {
    qsizetype best = 0;
    int number = 0;
    for (const auto& [name, n] : names) {
      if (name.size() > best && rest().startsWith(name, Qt::CaseInsensitive)) {
        best = name.size();
        number = n;
      }
    }
    pos_ += best;
    return number;
  }

 private:
  QStringView rest() const { return QStringView(text_).mid(pos_); }

  const QString& text_;
  qsizetype pos_ = 0;
};

std::optional<int> dayOrMonth(const QString& digits) {
  if (digits.isEmpty()) return std::nullopt;
  return digits.toInt();
}

std::optional<int> year(const QString& digits, int lastTwoDigitYear) {
  if (digits.size() == 4) return digits.toInt();
  if (digits.size() != 1 && digits.size() != 2) return std::nullopt;
  const int back = ((lastTwoDigitYear - digits.toInt()) % 100 + 100) % 100;
  return lastTwoDigitYear - back;
}

}  // namespace

std::optional<QDate> readDate(const QString& text, const DateLayout& layout, DateNames names,
                              int lastTwoDigitYear) {
  Reader reader(text);
  std::optional<int> day, month, yearRead;
  for (size_t i = 0; i < layout.size(); ++i) {
    const DateToken& token = layout[i];
    if (token.field == DateField::kLiteral) {
      reader.skipLiteral(token.literal);
      continue;
    }
    reader.skipSeparators();
    // A two-digit year right against the next field ("yyMMdd") reads only its own digits, unless the
    // digits stop where a whole year would ("1959/10/31").
    const bool packed = i + 1 < layout.size() && isNumericField(layout[i + 1].field);
    const qsizetype yearDigits = token.field == DateField::kYear2 && packed && reader.digitRun() > 4 ? 2 : 4;
    switch (token.field) {
      case DateField::kDay:
      case DateField::kDay2:
        day = dayOrMonth(reader.digits(2));
        if (!day) return std::nullopt;
        break;
      case DateField::kMonth:
      case DateField::kMonth2:
        month = dayOrMonth(reader.digits(2));
        if (!month) return std::nullopt;
        break;
      case DateField::kMonthShort:
      case DateField::kMonthLong:
        month = dayOrMonth(reader.digits(2));
        if (!month) month = reader.takeName(monthNames(names));
        if (*month == 0) return std::nullopt;
        break;
      case DateField::kWeekdayShort:
      case DateField::kWeekdayLong:
        // The weekday follows from the date; it may be left out, and is not checked against it.
        reader.takeName(weekdayNames(names));
        break;
      case DateField::kYear2:
      case DateField::kYear4:
        yearRead = year(reader.digits(yearDigits), lastTwoDigitYear);
        if (!yearRead) return std::nullopt;
        break;
      case DateField::kLiteral:
        break;
    }
  }
  reader.skipSeparators();
  if (!reader.atEnd() || !month || !yearRead) return std::nullopt;
  const QDate date(*yearRead, *month, day.value_or(1));
  if (!date.isValid()) return std::nullopt;
  return date;
}

}  // namespace pic::internal
