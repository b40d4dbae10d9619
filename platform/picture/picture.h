#pragma once

// Display pictures: short format texts such as "@n_9.2", "@d6" or "@p###-####p" that say how a stored
// value is shown in a field and how the text a user types there is read back. The "@" is optional and
// the letters are case-insensitive. A picture that cannot be read shows values as plain text.
//
// Numbers, "@n [$] [- or (] [0 _ *] width [. - _] [.d or 'd] [- or )] [b]": the width counts every
// character shown. Groups of three digits are separated only when the grouped text fits the width, so
// "@n4" shows 1959 as "1959" and "@n9" shows 1234567 as "1,234,567"; a value that does not fit even
// without separators shows as '#' repeated width times. A dash after the width that ends the picture
// (or comes just before "b") is a trailing minus; anywhere else it is the grouping dash. A decimal comma
// ('d) makes the groups take points; zero fill never groups. Values are rounded half away from zero to
// the places shown, and a value that shows as zero has no sign and counts as zero for "b".
//
// Patterns, "@p<pattern>p[b]": a negative number, or one with more digits than the pattern has
// positions, shows '#' in every digit position, since any other reading of it would be a wrong number.

#include <QChar>
#include <QString>
#include <QVariant>
#include <optional>

#include "platform/picture/day_numbers.h"
#include "platform/picture/time_values.h"

namespace pic {

enum class PictureKind { kText, kNumber, kDate, kTime, kPattern };

enum class NumberSign {
  kLeadingMinus,   // "-12"
  kParentheses,    // "(12)"
  kTrailingMinus,  // "12-"
};

struct Picture {
  PictureKind kind = PictureKind::kText;
  // The value 0 shows as an empty text (numbers, dates, times, patterns).
  bool blankWhenZero = false;
  // Texts: the most code points kept, 0 for no limit. Numbers: every character the picture shows.
  int width = 0;

  // Numbers.
  bool currency = false;  // a "$" before the digits
  NumberSign sign = NumberSign::kLeadingMinus;
  QChar fill{};      // '0', ' ' or '*' padding up to the width; null: the shortest text
  QChar grouping{};  // put between groups of three digits; null: none
  QChar decimalPoint = u'.';
  int places = 0;

  // Dates and times: the numbered layout, and the character that replaces "/" or ":" (null: keep them).
  int style = 0;
  QChar separator{};

  // Patterns: '#' is a digit, '<' a digit shown as a space while it is a leading zero, anything else
  // is shown as it is.
  QString pattern{};

  friend bool operator==(const Picture&, const Picture&) = default;
};

// nullopt for anything that is not one of the picture families above.
std::optional<Picture> parsePicture(const QString& picture);
bool isValidPicture(const QString& picture);

// The most code points a value shown in the picture takes; 0 when there is no such bound (plain text,
// "@s"). Numbers that do not fit show as '#' repeated this many times.
int displayWidth(const QString& picture);

QString format(const QVariant& value, const QString& picture);
QString format(const QVariant& value, const Picture& picture);

// Reads what a user typed. nullopt means the text is refused. Numbers come back as qlonglong (double when
// the picture has decimal places), dates as day numbers, times as time values, patterns as qlonglong, and
// texts as QString; an empty or blank text is 0 for every numeric family.
std::optional<QVariant> deformat(const QString& text, const QString& picture);
std::optional<QVariant> deformat(const QString& text, const Picture& picture);

}  // namespace pic
