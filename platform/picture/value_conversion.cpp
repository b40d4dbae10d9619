#include "platform/picture/value_conversion.h"

#include <cmath>
#include <limits>

namespace pic::internal {

namespace {

std::optional<Number> numberFromText(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return Number{};
  bool ok = false;
  const qint64 whole = trimmed.toLongLong(&ok);
  if (ok) return Number{true, whole, 0};
  const double decimal = trimmed.toDouble(&ok);
  if (ok && std::isfinite(decimal)) return Number{false, 0, decimal};
  return std::nullopt;
}

}  // namespace

std::optional<Number> toNumber(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return Number{};
  switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
      return Number{true, value.toLongLong(), 0};
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
      const qulonglong u = value.toULongLong();
      if (u <= static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
        return Number{true, static_cast<qint64>(u), 0};
      return Number{false, 0, static_cast<double>(u)};
    }
    case QMetaType::Float:
    case QMetaType::Double:
      return Number{false, 0, value.toDouble()};
    case QMetaType::QString:
    case QMetaType::QByteArray:
      return numberFromText(value.toString());
    default:
      return std::nullopt;
  }
}

std::optional<qint64> toWhole(const QVariant& value) {
  const std::optional<Number> n = toNumber(value);
  if (!n) return std::nullopt;
  if (n->isWhole) return n->whole;
  const double rounded = std::round(n->decimal);
  // 2^63 itself is not representable, hence the strict bound.
  if (!std::isfinite(rounded) || std::fabs(rounded) >= 9.2e18) return std::nullopt;
  return static_cast<qint64>(rounded);
}

QString plainText(const QVariant& value) {
  return value.toString();
}

qsizetype codePointCount(const QString& text) {
  qsizetype count = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    ++count;
  }
  return count;
}

QString leftCodePoints(const QString& text, qsizetype count) {
  qsizetype i = 0;
  for (qsizetype taken = 0; taken < count && i < text.size(); ++taken) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    ++i;
  }
  return text.left(i);
}

}  // namespace pic::internal
