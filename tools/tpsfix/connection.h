// A connection of the repair's own on one file, opened defensively: a damaged schema must not run
// anything (trusted_schema=OFF) and a damaged cell must not be read past its page
// (cell_size_check=ON). The program's collation is registered, so the keys can be checked and built.
//
// Not copyable; closes the file when destroyed. Failures come back as SQLite's result codes.
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QStringList>

namespace tpsfix {

class Connection {
 public:
  Connection(const QString& path, int flags);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool ok() const { return ok_; }
  sqlite3* db() const { return db_; }
  int exec(const QString& sql);
  QString error() const;
  // Rows of a query as texts, the first column only; false on an error.
  bool texts(const QString& sql, QStringList* out);

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

// What a data file says of itself (its "_kvx_file" table). Empty texts when that cannot be read,
// which a damaged file may well not allow.
struct Description {
  QString kind;
  QString label;
};
Description describe(Connection& c);

}  // namespace tpsfix
