#include "platform/picture/picture.h"

#include <QTime>
#include <algorithm>

#include "platform/picture/date_picture.h"
#include "platform/picture/number_picture.h"
#include "platform/picture/pattern_picture.h"
#include "platform/picture/time_picture.h"
#include "platform/picture/value_conversion.h"

namespace pic {

namespace {

QString cut(const QString& text, int width) {
  return width == 0 ? text : internal::leftCodePoints(text, width);
}

// Names and hours change the length of a date or time, so the widest of a spread of samples is taken:
// every month, and days enough for every weekday.
int widestDate(const Picture& p) {
  qsizetype widest = 0;
  for (int month = 1; month <= 12; ++month)
    for (int day = 22; day <= 28; ++day)
      widest = std::max(widest, internal::codePointCount(
                                    internal::formatDate(qlonglong{dayNumber(QDate(2000, month, day))}, p)));
  return static_cast<int>(widest);
}

int widestTime(const Picture& p) {
  qsizetype widest = 0;
  for (int hours : {0, 10, 12, 22, 23})
    widest = std::max(widest,
                      internal::codePointCount(internal::formatTime(qlonglong{timeValue(hours, 59, 59)}, p)));
  return static_cast<int>(widest);
}

}  // namespace

int displayWidth(const QString& picture) {
  const std::optional<Picture> p = parsePicture(picture);
  if (!p) return 0;
  switch (p->kind) {
    case PictureKind::kText:
    case PictureKind::kNumber:
      return p->width;
    case PictureKind::kDate:
      return widestDate(*p);
    case PictureKind::kTime:
      return widestTime(*p);
    case PictureKind::kPattern:
      return static_cast<int>(internal::codePointCount(p->pattern));
  }
  return 0;
}

QString format(const QVariant& value, const Picture& picture) {
  switch (picture.kind) {
    case PictureKind::kText:
      return cut(internal::plainText(value), picture.width);
    case PictureKind::kNumber:
      return internal::formatNumber(value, picture);
    case PictureKind::kDate:
      return internal::formatDate(value, picture);
    case PictureKind::kTime:
      return internal::formatTime(value, picture);
    case PictureKind::kPattern:
      return internal::formatPattern(value, picture);
  }
  return internal::plainText(value);
}

QString format(const QVariant& value, const QString& picture) {
  const std::optional<Picture> p = parsePicture(picture);
  return p ? format(value, *p) : internal::plainText(value);
}

std::optional<QVariant> deformat(const QString& text, const Picture& picture) {
  switch (picture.kind) {
    case PictureKind::kText:
      return QVariant(cut(text, picture.width));
    case PictureKind::kNumber:
      return internal::deformatNumber(text, picture);
    case PictureKind::kDate:
      return internal::deformatDate(text, picture);
    case PictureKind::kTime:
      return internal::deformatTime(text, picture);
    case PictureKind::kPattern:
      return internal::deformatPattern(text, picture);
  }
  return QVariant(text);
}

std::optional<QVariant> deformat(const QString& text, const QString& picture) {
  const std::optional<Picture> p = parsePicture(picture);
  return p ? deformat(text, *p) : std::optional<QVariant>(QVariant(text));
}

}  // namespace pic
