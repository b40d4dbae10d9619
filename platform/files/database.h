// The program's one SQLite connection, shared by every indexed file (internal to platform/files).
//
// The connection's main database is an empty anchor file, kvx98.db, in the working directory: SQLite
// makes a transaction over several attached files atomic through a super-journal beside the main
// database, and only when that database is a real file. Each data file is ATTACHed while at least one
// File object has it open (aliases share one attachment) and DETACHed when the last one closes; the
// connection itself closes when nothing is attached, so it always belongs to the current working
// directory. At most ten files can be attached at once. An attached file's presence lock
// (presence_lock.h) is held from just after its ATTACH to just after its DETACH.
//
// Journal mode is DELETE (a rollback journal: files shared over a network stay safe, which WAL would
// not) with synchronous=FULL. Why DELETE and not PERSIST, and how journals left by transactions that
// are over are removed at the first attach and at every begin, is in stale_journal.h.
#pragma once

#include <QString>
#include <map>

#include "platform/files/presence_lock.h"
#include "platform/files/status.h"

struct sqlite3;

namespace files::detail {

class Database {
 public:
  static Database& instance();

  // The connection, opened on first use; null when it cannot be opened.
  sqlite3* handle();

  // Attaches the file at `path` (absolute) and gives its schema name; the file must exist unless
  // `mayCreate`. A second attach of the same path only counts up. The file's presence lock is
  // taken in `presence` mode: shared waits for an exclusive holder as long as for other programs'
  // locks, exclusive does not wait; kFileLocked when the lock is not had.
  Status attach(const QString& path, bool mayCreate, QString* schema,
                PresenceLock::Mode presence = PresenceLock::Mode::Shared);
  // Counts down, and detaches when the count reaches 0 (after the transaction, if one is running).
  void detach(const QString& path);
  bool isAttached(const QString& path) const { return attached_.count(path) != 0; }

  // A Status from the connection's last error.
  Status lastError() const;

  // Transactions over everything attached. begin() waits up to `waitMs` for other programs' locks.
  Status begin(int waitMs);
  Status commit();
  void rollback();
  bool inTransaction() const { return inTransaction_; }

  // Runs one statement without results; for schema work.
  Status exec(const QString& sql);

  // Counts every write made through this connection; read-ahead pages older than the current value
  // are stale.
  quint64 generation() const { return generation_; }
  void noteWrite() { ++generation_; }

  // The wait for other programs' locks outside transactions; it stays set until changed, also for
  // a connection opened later.
  static constexpr int kDefaultWaitMs = 2000;
  void setWait(int ms);

 private:
  Database() = default;
  struct Attachment {
    QString schema;
    int count = 0;
    PresenceLock presence;
  };
  void closeIfIdle();
  void detachNow(Attachment& a);
  void detachPending();

  sqlite3* db_ = nullptr;
  int waitMs_ = kDefaultWaitMs;
  std::map<QString, Attachment> attached_;
  std::map<QString, Attachment> pendingDetach_;  // detached when the transaction ends
  bool inTransaction_ = false;
  quint64 generation_ = 0;
  int nextSchema_ = 0;
};

}  // namespace files::detail
