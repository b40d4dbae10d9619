#include "tools/tpsfix/connection.h"

#include "platform/files/collation.h"

namespace tpsfix {

Connection::Connection(const QString& path, int flags) {
  ok_ = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) == SQLITE_OK;
  if (!db_) return;
  files::registerCollation(db_);
  sqlite3_busy_timeout(db_, 2000);
  exec("PRAGMA trusted_schema=OFF");
  exec("PRAGMA cell_size_check=ON");
}

Connection::~Connection() {
  sqlite3_close(db_);
}

int Connection::exec(const QString& sql) {
  return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

QString Connection::error() const {
  return QString::fromUtf8(sqlite3_errmsg(db_));
}

bool Connection::texts(const QString& sql, QStringList* out) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) return false;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW)
    *out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  return rc == SQLITE_DONE;
}

Description describe(Connection& c) {
  Description d;
  QStringList kind, label;
  if (c.texts("SELECT value FROM _kvx_file WHERE item = 'kind'", &kind) && kind.size() == 1) d.kind = kind[0];
  if (c.texts("SELECT value FROM _kvx_file WHERE item = 'label'", &label) && label.size() == 1)
    d.label = label[0];
  return d;
}

}  // namespace tpsfix
