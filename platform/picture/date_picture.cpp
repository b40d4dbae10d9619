#include "platform/picture/date_picture.h"

#include <QLocale>

#include "platform/picture/clock.h"
#include "platform/picture/date_layout.h"
#include "platform/picture/day_numbers.h"
#include "platform/picture/value_conversion.h"

namespace pic::internal {

namespace {

constexpr int kLocaleShortStyle = 17;
constexpr int kLocaleLongStyle = 18;

// Styles 1 to 16; the picture's separator replaces "/".
constexpr const char* kFixedFormats[] = {
    "MM/dd/yy",  "MM/dd/yyyy",  "MMM dd,yyyy", "MMMM dd, yyyy", "dd/MM/yy", "dd/MM/yyyy",
    "dd MMM yy", "dd MMM yyyy", "yy/MM/dd",    "yyyy/MM/dd",    "yyMMdd",   "yyyyMMdd",
    "MM/yy",     "MM/yyyy",     "yy/MM",       "yyyy/MM",
};

DateLayout layoutOf(const Picture& p) {
  if (p.style == kLocaleShortStyle) return dateLayoutFromFormat(QLocale().dateFormat(QLocale::ShortFormat));
  if (p.style == kLocaleLongStyle) return dateLayoutFromFormat(QLocale().dateFormat(QLocale::LongFormat));
  QString format = QString::fromLatin1(kFixedFormats[p.style - 1]);
  if (!p.separator.isNull()) format.replace(u'/', p.separator);
  return dateLayoutFromFormat(format);
}

DateNames namesOf(const Picture& p) {
  return p.style >= kLocaleShortStyle ? DateNames::kLocale : DateNames::kEnglish;
}

}  // namespace

QString formatDate(const QVariant& value, const Picture& picture) {
  const std::optional<qint64> day = toWhole(value);
  if (!day) return plainText(value);
  const QDate date = dateOfDay(*day);
  if (!date.isValid()) return {};
  return writeDate(date, layoutOf(picture), namesOf(picture));
}

std::optional<QVariant> deformatDate(const QString& text, const Picture& picture) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return QVariant(qlonglong{0});
  const int lastTwoDigitYear = now().date().year() + 20;
  const std::optional<QDate> date = readDate(trimmed, layoutOf(picture), namesOf(picture), lastTwoDigitYear);
  if (!date) return std::nullopt;
  const qint32 day = dayNumber(*date);
  if (day <= 0) return std::nullopt;
  return QVariant(qlonglong{day});
}

}  // namespace pic::internal
