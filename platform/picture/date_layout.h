#pragma once

// A date layout is a list of fields and literal text, read from a QLocale-style format ("dd.MM.yyyy",
// "dddd, MMMM d, yyyy", quoted literal text). The same layout both writes a date and reads one back, so
// the fixed picture styles and the locale's own formats share one engine.

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace pic::internal {

enum class DateField {
  kLiteral,
  kDay,           // d
  kDay2,          // dd
  kWeekdayShort,  // ddd
  kWeekdayLong,   // dddd
  kMonth,         // M
  kMonth2,        // MM
  kMonthShort,    // MMM
  kMonthLong,     // MMMM
  kYear2,         // yy
  kYear4,         // yyyy
};

struct DateToken {
  DateField field = DateField::kLiteral;
  QString literal;
};

using DateLayout = std::vector<DateToken>;

// Where month and weekday names come from: English (short month names in capitals, "OCT") for the
// fixed styles, the default QLocale for the locale's formats.
enum class DateNames { kEnglish, kLocale };

DateLayout dateLayoutFromFormat(const QString& format);

QString writeDate(const QDate& date, const DateLayout& layout, DateNames names);

// Lenient: any of / - . , and spaces may separate the fields, days and months may have one digit,
// month names may be short or long in any case, and years two or four digits. A two-digit year is
// placed in the hundred years ending with `lastTwoDigitYear`.
std::optional<QDate> readDate(const QString& text, const DateLayout& layout, DateNames names,
                              int lastTwoDigitYear);

}  // namespace pic::internal
