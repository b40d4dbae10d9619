// A connection of its own on one data file, beside the program's: for tests that look at or damage
// the stored bytes, or play a second station inside the test's process.
#pragma once

#include <sqlite3.h>

#include <QString>

#include "platform/files/collation.h"

namespace test {

class RawDatabase {
 public:
  explicit RawDatabase(const QString& path) {
    sqlite3_open(path.toUtf8().constData(), &db_);
    files::registerCollation(db_);
  }
  ~RawDatabase() { sqlite3_close(db_); }
  RawDatabase(const RawDatabase&) = delete;
  RawDatabase& operator=(const RawDatabase&) = delete;

  int exec(const QString& sql) {
    return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
  }
  // The first column of the first row, as text; empty when there is none.
  QString value(const QString& sql) {
    sqlite3_stmt* st = nullptr;
    QString out;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
};

// Overwrites `count` bytes of a file at `offset` with `byte`, as a failing disk would.
void damageFile(const QString& path, qint64 offset, qint64 count, char byte = '\xff');

}  // namespace test
