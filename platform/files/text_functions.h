// The text and number functions of filters, on plain values.
//
// Filters run in two places: row by row in the program (platform/expr) and inside SQLite as
// registered functions (sql_functions.h). Both call these, so a filter selects the same records
// wherever it runs. Characters are code points: a surrogate pair counts as one.
//
// Numbers are whole (qint64) where they are exact and doubles otherwise; a text read as a number
// gives the longest leading decimal number after leading spaces, whole when it has no fraction and
// fits.
#pragma once

#include <QString>
#include <QVariant>

namespace files {

QString upperText(const QString& s);
QString lowerText(const QString& s);
// Without trailing spaces.
QString clipText(const QString& s);
// Code points of the clipped text.
qint64 lengthOfText(const QString& s);

// `length` characters from the 1-based `start`; a negative start counts from the end (-1 is the last
// character). Only the part of that range inside the text is given, so nothing is ever out of range;
// a length of 0 or less gives "".
QString subText(const QString& s, qint64 start, qint64 length);

// Looks for `sub` in `s` at the character positions start, start + step, start + 2 * step, ... and
// gives the step number of the first match counted from the beginning of the text, (position - 1) /
// step + 1: with step 1 that is the character position whatever the start. 0 when there is no match,
// when `sub` is empty or when step is below 1; a start below 1 is taken as 1.
qint64 inString(const QString& sub, const QString& s, qint64 step = 1, qint64 start = 1);

// Leading spaces removed, then cut to `length` characters when length >= 0.
QString leftText(const QString& s, qint64 length = -1);

// Truncated toward zero, held inside the qint64 range; NaN gives 0.
qint64 intValue(double d);

// Code-point order, case-sensitive, trailing spaces ignored.
int compareExact(const QString& a, const QString& b);
// The same on UTF-8 (code-point order is byte order there).
int compareExactUtf8(const char* a, int lengthA, const char* b, int lengthB);

// The longest leading decimal number after leading spaces: an optional sign, digits and an optional
// fraction ("12abc" -> 12, " -1.5x" -> -1.5, ".5" -> 0.5); no exponents ("1e3" -> 1), no hex
// ("0x10" -> 0); 0 when there is no number at all.
double numberOfText(const QString& s);
// The same number as a qlonglong when it has no fraction and fits, else as a double.
QVariant numberValueOfText(const QString& s);

// Numbers as texts: whole numbers in full; doubles with up to 15 significant digits and no trailing
// zeros (3.0 -> "3", 0.1 + 0.2 -> "0.3"), an exponent only when very large or small; -0 -> "0".
QString textOfNumber(qint64 n);
QString textOfNumber(double d);

// Absolute value of a qlonglong or double; the one whole number without a whole opposite becomes a
// double.
QVariant absNumber(const QVariant& n);

}  // namespace files
