#include "tools/tpsfix/readable_rows.h"

#include <QStringList>

namespace tpsfix {
namespace {

// A value as SQLite holds it, in the form row_check.h expects for its column.
QVariant value(sqlite3_stmt* st, int i, ColumnType type) {
  const int stored = sqlite3_column_type(st, i);
  if (type == ColumnType::Text && stored == SQLITE_TEXT)
    return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
  if (type != ColumnType::Text && stored == SQLITE_INTEGER) return qlonglong(sqlite3_column_int64(st, i));
  return QVariant();
}

}  // namespace

std::map<qint64, std::vector<QVariant>> readableRows(Connection& damaged, const std::vector<Column>& columns,
                                                     qint64 highestRowid) {
  std::map<qint64, std::vector<QVariant>> rows;
  QStringList stored;
  if (!damaged.texts("SELECT name FROM pragma_table_info('data')", &stored)) return rows;
  QStringList select;
  for (const Column& c : columns) {
    bool present = false;
    for (const QString& s : stored)
      present = present || s.compare(c.name, Qt::CaseInsensitive) == 0;
    select << (present ? "\"" + c.name + "\"" : (c.type == ColumnType::Text ? "''" : "0"));
  }
  const QByteArray sql =
      ("SELECT " + select.join(", ") + " FROM data WHERE _pos > ?1 ORDER BY _pos LIMIT 256").toUtf8();
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(damaged.db(), sql.constData(), -1, &st, nullptr) != SQLITE_OK) return rows;
  // A broken page ends a query early: go on after the last record read, jumping further each time
  // the jump lands on broken pages again, up to the highest row id known to exist.
  const qint64 limit = highestRowid > 0 ? highestRowid : (1ll << 31);
  qint64 after = 0, jump = 1;
  for (;;) {
    sqlite3_bind_int64(st, 1, after);
    int rc, got = 0;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      std::vector<QVariant> values;
      for (int i = 0; i < int(columns.size()); ++i)
        values.push_back(value(st, i, columns[i].type));
      after = sqlite3_column_int64(st, 0);
      rows[after] = std::move(values);
      ++got;
    }
    sqlite3_reset(st);
    if (rc == SQLITE_DONE) {
      if (got < 256) break;  // the end of the table
      jump = 1;
      continue;
    }
    jump = got ? 1 : jump * 2;
    after += jump;
    if (after > limit) break;
  }
  sqlite3_finalize(st);
  return rows;
}

}  // namespace tpsfix
