#include "tools/tpsfix/row_check.h"

#include <QUtf8StringView>

namespace tpsfix {
namespace {

bool numbered(const files::File& file, const files::Field* f) {
  for (const files::Key* k : file.numberedKeys())
    if (k->components().back() == f) return true;
  return false;
}

qint64 codePoints(const QByteArray& utf8) {
  qint64 n = 0;
  for (const char c : utf8)
    n += (uchar(c) & 0xc0) != 0x80;
  return n;
}

QString textDamage(const Column& c, const QByteArray& text) {
  const QString label = c.field->label();
  if (!QUtf8StringView(text).isValidUtf8()) return label + " is not valid UTF-8 text";
  if (text.contains('\0')) return label + " holds NUL characters";
  if (c.field->width() > 0 && codePoints(text) > c.field->width())
    return QString("%1 is longer than its %2 characters").arg(label).arg(c.field->width());
  return QString();
}

QString numberDamage(const Column& c, qint64 v) {
  if (!c.field) return v < 0 ? "its change counter is negative" : QString();
  const QString label = c.field->label();
  if (v < c.field->minimum() || v > c.field->maximum())
    return QString("%1 (%2) is outside %3 to %4")
        .arg(label)
        .arg(v)
        .arg(c.field->minimum())
        .arg(c.field->maximum());
  if (c.numbered && v < 0)
    return QString("%1 (%2) is negative, and the program numbers from 1").arg(label).arg(v);
  return QString();
}

}  // namespace

std::vector<Column> columnsOf(const files::File& file) {
  std::vector<Column> columns{{"_pos", ColumnType::RowId}, {"_chg", ColumnType::Integer}};
  for (const files::Field* f : file.record().all())
    columns.push_back(
        {f->name(), f->isText() ? ColumnType::Text : ColumnType::Integer, f, numbered(file, f)});
  return columns;
}

QString damage(const std::vector<Column>& columns, qint64 position, const std::vector<QVariant>& values) {
  if (position <= 0) return "its position is below 1";
  for (size_t i = 0; i < columns.size() && i < values.size(); ++i) {
    const Column& c = columns[i];
    if (c.type == ColumnType::RowId) continue;
    const QVariant& v = values[i];
    const bool text = c.type == ColumnType::Text;
    if (v.typeId() != (text ? QMetaType::QByteArray : QMetaType::LongLong))
      return (c.field ? c.field->label() : QString("its change counter")) + " holds a value of another kind";
    const QString wrong = text ? textDamage(c, v.toByteArray()) : numberDamage(c, v.toLongLong());
    if (!wrong.isEmpty()) return wrong;
  }
  return QString();
}

}  // namespace tpsfix
