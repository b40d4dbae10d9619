#include "platform/picture/time_picture.h"

#include <QLocale>
#include <QStringList>
#include <QTime>

#include "platform/picture/time_values.h"
#include "platform/picture/value_conversion.h"

namespace pic::internal {

namespace {

constexpr int kLocaleShortStyle = 7;
constexpr int kLocaleLongStyle = 8;
constexpr qint64 kMostHours = 9999;

QString twoDigits(qint64 n) {
  return QString::number(n).rightJustified(2, u'0');
}

// A time-zone name means nothing for a time of day kept without one; it goes together with the space
// or parentheses around it ("HH:mm:ss t", "H:mm:ss (t)").
QString withoutTimeZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == u'\'') quoted = !quoted;
    if (quoted || c != u't') {
      out += c;
      continue;
    }
    while (i + 1 < format.size() && format[i + 1] == u't')
      ++i;
    if (out.endsWith(u'(') && i + 1 < format.size() && format[i + 1] == u')') {
      out.chop(1);
      ++i;
    }
    while (!out.isEmpty() && out.back().isSpace())
      out.chop(1);
  }
  return out.trimmed();
}

QString localeFormat(int style) {
  return withoutTimeZone(
      QLocale().timeFormat(style == kLocaleShortStyle ? QLocale::ShortFormat : QLocale::LongFormat));
}

bool isSeparator(QChar c) {
  return c.isSpace() || QStringLiteral(":.-,").contains(c);
}

// -1 for none, else 0 for AM and 12 for PM: the hours added to a 12-hour clock reading.
int takeMeridiem(QString& text) {
  const QLocale locale;
  const std::pair<QString, int> marks[] = {
      {QStringLiteral("AM"), 0}, {QStringLiteral("PM"), 12}, {locale.amText(), 0}, {locale.pmText(), 12}};
  for (const auto& [mark, hours] : marks) {
    if (mark.isEmpty()) continue;
    if (text.endsWith(mark, Qt::CaseInsensitive)) {
      text.chop(mark.size());
    } else if (text.startsWith(mark, Qt::CaseInsensitive)) {
      text.remove(0, mark.size());
    } else {
      continue;
    }
    text = text.trimmed();
    return hours;
  }
  return -1;
}

// "hhmm" and "hhmmss" typed without separators, for the styles shown that way.
QStringList splitPacked(const QString& digits, int style) {
  if (digits.size() <= 2) return {digits};
  const QString hours = digits.chopped(2);
  if (style == 5 && digits.size() > 4)
    return {digits.chopped(4), digits.mid(digits.size() - 4, 2), digits.right(2)};
  return {hours, digits.right(2)};
}

}  // namespace

QString formatTime(const QVariant& value, const Picture& picture) {
  const std::optional<qint64> time = toWhole(value);
  if (!time) return plainText(value);
  if (*time <= 0) return {};
  const qint64 t = *time - 1;
  const qint64 hours = t / kHundredthsPerHour;
  const qint64 minutes = t / kHundredthsPerMinute % 60;
  const qint64 seconds = t / kHundredthsPerSecond % 60;
  if (picture.style >= kLocaleShortStyle) {
    const QTime clock(static_cast<int>(hours % 24), static_cast<int>(minutes), static_cast<int>(seconds));
    return QLocale().toString(clock, localeFormat(picture.style));
  }
  const QString sep = picture.separator.isNull() ? QStringLiteral(":") : QString(picture.separator);
  const bool twelveHour = picture.style == 3 || picture.style == 6;
  const qint64 dayHours = hours % 24;
  const qint64 shownHours = twelveHour ? (dayHours % 12 == 0 ? 12 : dayHours % 12) : hours;
  const QString meridiem = !twelveHour     ? QString()
                           : dayHours < 12 ? QStringLiteral("AM")
                                           : QStringLiteral("PM");
  switch (picture.style) {
    case 1:
    case 3:
      return twoDigits(shownHours) + sep + twoDigits(minutes) + meridiem;
    case 2:
      return twoDigits(hours) + twoDigits(minutes);
    case 5:
      return twoDigits(hours) + twoDigits(minutes) + twoDigits(seconds);
    default:
      return twoDigits(shownHours) + sep + twoDigits(minutes) + sep + twoDigits(seconds) + meridiem;
  }
}

std::optional<QVariant> deformatTime(const QString& text, const Picture& picture) {
  QString rest = text.trimmed();
  if (rest.isEmpty()) return QVariant(qlonglong{0});
  const int meridiem = takeMeridiem(rest);

  QStringList parts{QString()};
  for (QChar c : rest) {
    if (isAsciiDigit(c)) {
      parts.back() += c;
    } else if (!isSeparator(c)) {
      return std::nullopt;
    } else if (!parts.back().isEmpty()) {
      parts.append(QString());
    }
  }
  if (parts.back().isEmpty()) parts.removeLast();
  if ((picture.style == 2 || picture.style == 5) && parts.size() == 1)
    parts = splitPacked(parts[0], picture.style);
  if (parts.isEmpty() || parts.size() > 3 || parts[0].size() > 4) return std::nullopt;
  for (qsizetype i = 1; i < parts.size(); ++i)
    if (parts[i].size() > 2) return std::nullopt;

  qint64 hours = parts[0].toLongLong();
  const qint64 minutes = parts.size() > 1 ? parts[1].toLongLong() : 0;
  const qint64 seconds = parts.size() > 2 ? parts[2].toLongLong() : 0;
  if (minutes > 59 || seconds > 59 || hours > kMostHours) return std::nullopt;
  if (meridiem >= 0) {
    if (hours > 12) return std::nullopt;
    hours = hours % 12 + meridiem;
  }
  return QVariant(qlonglong{hours * kHundredthsPerHour + minutes * kHundredthsPerMinute +
                            seconds * kHundredthsPerSecond + 1});
}

}  // namespace pic::internal
