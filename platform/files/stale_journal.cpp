#include "platform/files/stale_journal.h"

#include <sqlite3.h>

#include <QFile>

namespace files::detail {

namespace {

QString journalOf(const QString& dataPath) {
  return dataPath + "-journal";
}

}  // namespace

void removeStaleJournal(const QString& dataPath) {
  QFile journal(journalOf(dataPath));
  if (!journal.open(QIODevice::ReadOnly)) return;  // none (the usual case)
  char first = 0;
  const bool stale = journal.read(&first, 1) < 1 || first == 0;
  journal.close();
  if (stale) QFile::remove(journalOf(dataPath));
}

void settleJournal(const QString& dataPath) {
  if (!QFile::exists(journalOf(dataPath))) return;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(dataPath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                      nullptr) == SQLITE_OK &&
      sqlite3_exec(db, "PRAGMA journal_mode=DELETE; BEGIN IMMEDIATE", nullptr, nullptr, nullptr) ==
          SQLITE_OK) {
    removeStaleJournal(dataPath);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  sqlite3_close(db);
}

}  // namespace files::detail
