#include "platform/files/database.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

#include "platform/files/collation.h"
#include "platform/files/sql_functions.h"
#include "platform/files/stale_journal.h"

namespace files::detail {

Database& Database::instance() {
  // Never destroyed: files declared as globals may still close during the program's exit, after
  // function-local statics are gone.
  static Database* const db = new Database;
  return *db;
}

sqlite3* Database::handle() {
  if (db_) return db_;
  const QByteArray anchor = QDir::current().absoluteFilePath("kvx98.db").toUtf8();
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(anchor.constData(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  registerCollation(db);
  registerSqlFunctions(db);
  sqlite3_extended_result_codes(db, 1);
  db_ = db;
  sqlite3_busy_timeout(db_, waitMs_);
  return db_;
}

Status Database::lastError() const {
  if (!db_) return Status::driver(SQLITE_CANTOPEN, "The database connection could not be opened");
  const int code = sqlite3_extended_errcode(db_);
  const int primary = code & 0xff;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
    return Status::error(kFileLocked, sqlite3_errmsg(db_));
  if (primary == SQLITE_NOTADB) return Status::error(kNotADataFile, sqlite3_errmsg(db_));
  return Status::driver(code, QString::fromUtf8(sqlite3_errmsg(db_)));
}

void Database::setWait(int ms) {
  waitMs_ = ms;
  if (db_) sqlite3_busy_timeout(db_, ms);
}

Status Database::exec(const QString& sql) {
  sqlite3* db = handle();
  if (!db) return lastError();
  if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) return lastError();
  return Status::success();
}

Status Database::attach(const QString& path, bool mayCreate, QString* schema, PresenceLock::Mode presence) {
  auto it = attached_.find(path);
  if (it != attached_.end()) {
    ++it->second.count;
    *schema = it->second.schema;
    return Status::success();
  }
  auto pending = pendingDetach_.find(path);
  if (pending != pendingDetach_.end()) {
    // Closed and reopened inside one transaction: the attachment never went away.
    Attachment& a = attached_[path] = std::move(pending->second);
    a.count = 1;
    *schema = a.schema;
    pendingDetach_.erase(pending);
    return Status::success();
  }
  if (!mayCreate && !QFileInfo::exists(path)) return Status::error(kFileNotFound);
  if (inTransaction_) return Status::error(kTransactionActive);
  sqlite3* db = handle();
  if (!db) return lastError();
  Attachment a{QString("f%1").arg(nextSchema_++), 1, {}};
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "ATTACH DATABASE ?1 AS ?2", -1, &st, nullptr);
  const QByteArray p = path.toUtf8(), n = a.schema.toUtf8();
  sqlite3_bind_text(st, 1, p.constData(), p.size(), SQLITE_TRANSIENT);
  sqlite3_bind_text(st, 2, n.constData(), n.size(), SQLITE_TRANSIENT);
  const int rc = sqlite3_step(st);
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) {
    const Status s = lastError();
    closeIfIdle();
    return s;
  }
  // The file exists now (ATTACH creates a missing one). An exclusive open is refused at once while
  // the file is in use; a shared one waits for an exclusive user as for any other lock.
  if (Status s = a.presence.take(path, presence, presence == PresenceLock::Mode::Exclusive ? 0 : waitMs_);
      !s) {
    detachNow(a);
    closeIfIdle();
    return s;
  }
  settleJournal(path);
  // The journal mode is what keeps a rolled-back change from staying (stale_journal.h): a file
  // that cannot be given it is not used.
  if (Status s = exec(QString("PRAGMA %1.journal_mode=DELETE; PRAGMA %1.synchronous=FULL").arg(a.schema));
      !s) {
    detachNow(a);
    closeIfIdle();
    return s;
  }
  *schema = a.schema;
  attached_[path] = std::move(a);
  return Status::success();
}

void Database::detachNow(Attachment& a) {
  // DETACH fails only while a statement on the file runs, and the file's statements are finalized
  // before it is closed; a file left attached is let go of when the connection closes.
  (void)exec(QString("DETACH DATABASE %1").arg(a.schema));
  a.presence.release();  // only now: SQLite has let go of the file
}

void Database::detachPending() {
  for (auto& [path, a] : pendingDetach_)
    detachNow(a);
  pendingDetach_.clear();
}

void Database::detach(const QString& path) {
  auto it = attached_.find(path);
  if (it == attached_.end()) return;
  if (--it->second.count > 0) return;
  Attachment a = std::move(it->second);
  attached_.erase(it);
  if (inTransaction_) {
    pendingDetach_[path] = std::move(a);
    return;
  }
  detachNow(a);
  closeIfIdle();
}

void Database::closeIfIdle() {
  if (!db_ || !attached_.empty() || !pendingDetach_.empty() || inTransaction_) return;
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

Status Database::begin(int waitMs) {
  if (inTransaction_) return Status::error(kTransactionActive);
  sqlite3* db = handle();
  if (!db) return lastError();
  const int wait = waitMs_;
  setWait(waitMs);
  const Status s = exec("BEGIN IMMEDIATE");
  setWait(wait);
  if (!s.ok()) return s;
  inTransaction_ = true;
  // Every attached file's write lock is held now: a journal that is not hot is a leftover.
  for (const auto* files : {&attached_, &pendingDetach_})
    for (const auto& attachment : *files)
      removeStaleJournal(attachment.first);
  return s;
}

Status Database::commit() {
  if (!inTransaction_) return Status::success();
  const Status s = exec("COMMIT");
  if (!s.ok()) {
    rollback();
    return s;
  }
  inTransaction_ = false;
  detachPending();
  closeIfIdle();
  return s;
}

void Database::rollback() {
  if (!inTransaction_) return;
  // A ROLLBACK that fails leaves the undo to SQLite itself: the journal stays hot, and the next
  // reader of the file plays it back.
  if (db_ && !sqlite3_get_autocommit(db_)) (void)exec("ROLLBACK");
  inTransaction_ = false;
  noteWrite();  // whatever was read ahead inside the transaction may have been undone
  detachPending();
  closeIfIdle();
}

}  // namespace files::detail
