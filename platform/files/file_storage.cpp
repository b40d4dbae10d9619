#include "platform/files/file.h"

#include <QDir>
#include <QFileInfo>

#include "platform/files/database.h"
#include "platform/files/file_state.h"
#include "platform/files/layout.h"

namespace files {

using detail::collect;
using detail::Database;
using detail::prepared;
using detail::writable;

// --- opening -----------------------------------------------------------------------------------

Status File::open(Access access) {
  State& s = *state_;
  if (s.open) return Status::error(kFileAlreadyOpen);
  s.path = path();
  Database& db = Database::instance();
  Status st = db.attach(s.path, false, &s.schema);
  if (!st) return st;

  sqlite3_stmt* q = nullptr;
  const QString sql = QString("SELECT item, value FROM %1._kvx_file").arg(s.schema);
  int rc = sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &q, nullptr);
  QString kind, layout;
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
      const QString item = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
      const QString value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 1)));
      if (item == "kind") kind = value;
      if (item == "layout") layout = value;
    }
  }
  if (rc != SQLITE_DONE) {
    const int primary = sqlite3_errcode(db.handle()) & 0xff;
    st = (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
             ? db.lastError()
             : Status::error(kNotADataFile, sqlite3_errmsg(db.handle()));
  } else if (kind != detail::kFileKind) {
    st = Status::error(kNotADataFile, "not a data file of this program");
  } else if (layout != detail::layoutText(*this)) {
    st = Status::error(kLayoutMismatch);
  }
  sqlite3_finalize(q);
  if (!st) {
    db.detach(s.path);
    return st;
  }
  s.open = true;
  s.access = access;
  s.key = nullptr;
  s.from = From::Start;
  s.current = 0;
  s.watched = s.watchNext = false;
  s.ahead.clear();
  return Status::success();
}

Status File::create() {
  const QString p = path();
  if (QFileInfo::exists(p)) return Status::error(kAccessDenied, "the file exists already");
  Database& db = Database::instance();
  if (db.inTransaction()) return Status::error(kTransactionActive);
  QString schema;
  Status st = db.attach(p, true, &schema);
  if (!st) return st;
  st = db.begin(Database::kDefaultWaitMs);
  if (st) {
    for (const QString& sql : detail::createStatements(*this, schema)) {
      st = db.exec(sql);
      if (!st) break;
    }
    if (st)
      st = db.commit();
    else
      db.rollback();
  }
  db.detach(p);
  return st;
}

void File::close() {
  State& s = *state_;
  if (!s.open) return;
  s.finalizeAll();
  s.ahead.clear();
  s.open = false;
  Database::instance().detach(s.path);
}

void File::sendOption(const QString& option) {
  const QString o = option.trimmed();
  const qsizetype eq = o.indexOf('=');
  const QString name = o.left(eq).trimmed().toUpper();
  const QString value = eq < 0 ? QString() : o.mid(eq + 1).trimmed();
  if (name == "QUICKSCAN") {
    state_->quickScan = value.compare("on", Qt::CaseInsensitive) == 0;
    if (!state_->quickScan) state_->ahead.clear();
  } else if (name == "RECOVER") {
    state_->recoverSeconds = value.toInt();
    Database::instance().setWait(qMax(Database::kDefaultWaitMs, state_->recoverSeconds * 1000));
  }
}

qint64 File::records(Status* status) {
  State& s = *state_;
  Status st;
  qint64 n = 0;
  if (!s.open) {
    st = Status::error(kFileNotOpen);
  } else if (sqlite3_stmt* q =
                 prepared(s, "count", [&] { return QString("SELECT n FROM %1._kvx_count").arg(s.schema); })) {
    if (sqlite3_step(q) == SQLITE_ROW)
      n = sqlite3_column_int64(q, 0);
    else
      st = Database::instance().lastError();
    sqlite3_reset(q);
  } else {
    st = Database::instance().lastError();
  }
  if (status) *status = st;
  return n;
}

Status File::rebuildKeys() {
  State& s = *state_;
  if (Status w = writable(s); !w) return w;
  Database& db = Database::instance();
  const bool own = !db.inTransaction();
  if (own)
    if (Status b = db.begin(Database::kDefaultWaitMs); !b) return b;
  s.finalizeAll();
  Status st;
  for (const Key* k : keys_) {
    st = db.exec(QString("DROP INDEX IF EXISTS %1.%2").arg(s.schema, detail::indexName(*k)));
    if (st) st = db.exec(detail::createIndexStatement(*k, s.schema));
    if (!st) break;
  }
  if (st) st = db.exec(QString("UPDATE %1._kvx_count SET n = (SELECT count(*) FROM %1.data)").arg(s.schema));
  if (own) {
    if (st)
      st = db.commit();
    else
      db.rollback();
  }
  db.noteWrite();
  if (!st && st.code == kDriverError && (st.driverCode & 0xff) == SQLITE_CONSTRAINT) {
    st = Status::error(kDuplicateKey);
  }
  return st;
}

}  // namespace files
