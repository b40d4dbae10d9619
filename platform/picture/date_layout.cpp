#include "platform/picture/date_layout.h"

#include <QLocale>

#include "platform/picture/english_names.h"

namespace pic::internal {

namespace {

void addLiteral(DateLayout& layout, const QString& text) {
  if (text.isEmpty()) return;
  if (!layout.empty() && layout.back().field == DateField::kLiteral)
    layout.back().literal += text;
  else
    layout.push_back({DateField::kLiteral, text});
}

// The field a run of one format letter names, and how many letters it uses; 0 letters for none.
std::pair<DateField, qsizetype> fieldOfRun(QChar letter, qsizetype run) {
  if (letter == u'd' || letter == u'M') {
    static constexpr DateField kDays[] = {DateField::kDay, DateField::kDay2, DateField::kWeekdayShort,
                                          DateField::kWeekdayLong};
    static constexpr DateField kMonths[] = {DateField::kMonth, DateField::kMonth2, DateField::kMonthShort,
                                            DateField::kMonthLong};
    const qsizetype used = std::min<qsizetype>(run, 4);
    return {(letter == u'd' ? kDays : kMonths)[used - 1], used};
  }
  if (letter == u'y') {
    if (run >= 4) return {DateField::kYear4, 4};
    if (run >= 2) return {DateField::kYear2, 2};
  }
  return {DateField::kLiteral, 0};
}

QString twoDigits(int n) {
  return QString::number(n).rightJustified(2, u'0');
}

}  // namespace

DateLayout dateLayoutFromFormat(const QString& format) {
  DateLayout layout;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    if (c == u'\'') {
      // Quoted text is literal; a doubled quote, inside quotes or not, is a quote.
      QString quoted;
      qsizetype j = i + 1;
      if (j < format.size() && format[j] == u'\'') {
        addLiteral(layout, QStringLiteral("'"));
        i = j + 1;
        continue;
      }
      for (; j < format.size(); ++j) {
        if (format[j] != u'\'') {
          quoted += format[j];
        } else if (j + 1 < format.size() && format[j + 1] == u'\'') {
          quoted += u'\'';
          ++j;
        } else {
          break;
        }
      }
      addLiteral(layout, quoted);
      i = j + 1;
      continue;
    }
    qsizetype run = 1;
    while (i + run < format.size() && format[i + run] == c)
      ++run;
    const auto [field, used] = fieldOfRun(c, run);
    if (used == 0) {
      addLiteral(layout, QString(c));
      ++i;
    } else {
      layout.push_back({field, {}});
      i += used;
    }
  }
  return layout;
}

QString writeDate(const QDate& date, const DateLayout& layout, DateNames names) {
  const QLocale locale;
  const bool english = names == DateNames::kEnglish;
  QString out;
  for (const DateToken& t : layout) {
    switch (t.field) {
      case DateField::kLiteral:
        out += t.literal;
        break;
      case DateField::kDay:
        out += QString::number(date.day());
        break;
      case DateField::kDay2:
        out += twoDigits(date.day());
        break;
      case DateField::kWeekdayShort:
        out += english ? englishWeekdayName(date.dayOfWeek()).left(3)
                       : locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        break;
      case DateField::kWeekdayLong:
        out += english ? englishWeekdayName(date.dayOfWeek())
                       : locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
        break;
      case DateField::kMonth:
        out += QString::number(date.month());
        break;
      case DateField::kMonth2:
        out += twoDigits(date.month());
        break;
      case DateField::kMonthShort:
        out += english ? englishMonthName(date.month()).left(3).toUpper()
                       : locale.monthName(date.month(), QLocale::ShortFormat);
        break;
      case DateField::kMonthLong:
        out += english ? englishMonthName(date.month()) : locale.monthName(date.month(), QLocale::LongFormat);
        break;
      case DateField::kYear2:
        out += twoDigits(((date.year() % 100) + 100) % 100);
        break;
      case DateField::kYear4:
        out += QString::number(date.year()).rightJustified(4, u'0');
        break;
    }
  }
  return out;
}

}  // namespace pic::internal
