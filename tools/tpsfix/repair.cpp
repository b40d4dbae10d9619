#include "tools/tpsfix/repair.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <map>

#include "platform/files/collation.h"
#include "platform/files/presence_lock.h"
#include "tools/tpsfix/page_scan.h"

namespace tpsfix {
namespace {

// A connection of the repair's own, opened defensively: a damaged schema must not run anything.
class Connection {
 public:
  Connection(const QString& path, int flags) {
    ok_ = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) == SQLITE_OK;
    if (!db_) return;
    files::registerCollation(db_);
    sqlite3_busy_timeout(db_, 2000);
    exec("PRAGMA trusted_schema=OFF");
    exec("PRAGMA cell_size_check=ON");
  }
  ~Connection() { sqlite3_close(db_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool ok() const { return ok_; }
  sqlite3* db() const { return db_; }
  int exec(const QString& sql) {
    return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
  }
  QString error() const { return QString::fromUtf8(sqlite3_errmsg(db_)); }
  // Rows of a query as texts, the first column only; false on an error.
  bool texts(const QString& sql, QStringList* out) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) return false;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
      *out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return rc == SQLITE_DONE;
  }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
};

struct Column {
  QString name;
  ColumnType type;
};

bool exampleColumns(Connection& example, std::vector<Column>* columns) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(example.db(), "SELECT name, type, pk FROM pragma_table_info('data')", -1, &st,
                         nullptr) != SQLITE_OK)
    return false;
  while (sqlite3_step(st) == SQLITE_ROW) {
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    const ColumnType t = sqlite3_column_int(st, 2)                     ? ColumnType::RowId
                         : type.startsWith("INT", Qt::CaseInsensitive) ? ColumnType::Integer
                                                                       : ColumnType::Text;
    columns->push_back({name, t});
  }
  sqlite3_finalize(st);
  return !columns->empty() && columns->front().type == ColumnType::RowId;
}

// Every record SQLite can still reach, by row id, with the example's columns (by name, so a file
// of an older layout gives what the layouts share). Broken stretches are stepped over.
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
      for (int i = 0; i < int(columns.size()); ++i) {
        if (columns[i].type == ColumnType::Text)
          values.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
        else
          values.emplace_back(qlonglong(sqlite3_column_int64(st, i)));
      }
      after = values.front().toLongLong();
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

QString keptName(const QString& dataPath) {
  const QFileInfo info(dataPath);
  const QString base = info.path() + "/" + info.completeBaseName();
  QString candidate = base + ".damaged." + info.suffix();
  for (int n = 2; QFile::exists(candidate); ++n)
    candidate = base + QString(".damaged-%1.").arg(n) + info.suffix();
  return candidate;
}

}  // namespace

Report repair(const QString& dataPath, const QString& examplePath) {
  Report r;
  if (!QFile::exists(dataPath)) {
    r.text = "the file " + dataPath + " does not exist";
    return r;
  }
  std::vector<Column> columns;
  {
    Connection example(examplePath, SQLITE_OPEN_READONLY);
    if (!QFile::exists(examplePath) || !example.ok() || !exampleColumns(example, &columns)) {
      r.text = "the example file " + examplePath + " cannot be read";
      return r;
    }
  }

  // Nobody else may have the file open while it is repaired (its presence lock, held until the end)
  // nor be in a transaction on it; taking SQLite's lock also lets SQLite undo the work of a program
  // that stopped in the middle of a transaction.
  files::PresenceLock presence;
  const bool alone = presence.take(dataPath, files::PresenceLock::Mode::Exclusive).ok();
  Connection damaged(dataPath, SQLITE_OPEN_READWRITE);
  const int locked = alone ? damaged.exec("BEGIN EXCLUSIVE") : SQLITE_BUSY;
  if ((locked & 0xff) == SQLITE_BUSY || (locked & 0xff) == SQLITE_LOCKED) {
    r.outcome = Outcome::InUse;
    r.text = "the file is in use by another program; close it there and run the repair again";
    return r;
  }
  QStringList check;
  if (locked == SQLITE_OK && damaged.texts("PRAGMA integrity_check", &check) && check == QStringList{"ok"}) {
    damaged.exec("ROLLBACK");
    r.outcome = Outcome::Sound;
    r.text = "no damage found; the file was left as it is";
    return r;
  }
  QStringList count;
  if (damaged.texts("SELECT n FROM _kvx_count", &count) && count.size() == 1)
    r.expected = count.first().toLongLong();

  // Records from the pages themselves, then everything SQLite can still read, which wins.
  const PageScan scan = scanPages(dataPath, [&] {
    std::vector<ColumnType> types;
    for (const Column& c : columns)
      types.push_back(c.type);
    return types;
  }());
  std::map<qint64, std::vector<QVariant>> rows;
  qint64 highest = 0;
  for (const ScannedRow& s : scan.rows) {
    rows[s.rowid] = s.values;
    highest = qMax(highest, s.rowid);
  }
  for (auto& [rowid, values] : readableRows(damaged, columns, highest))
    rows[rowid] = std::move(values);
  damaged.exec("ROLLBACK");

  // The result starts as a copy of the example: a closed, empty file of the declared layout.
  const QString fixing = dataPath + ".fixing";
  QFile::remove(fixing);
  if (!QFile::copy(examplePath, fixing)) {
    r.text = "the repaired file cannot be written beside " + dataPath;
    return r;
  }
  {
    Connection result(fixing, SQLITE_OPEN_READWRITE);
    QStringList names, marks;
    for (const Column& c : columns) {
      names << "\"" + c.name + "\"";
      marks << "?";
    }
    sqlite3_stmt* insert = nullptr;
    result.exec("BEGIN");
    sqlite3_prepare_v2(
        result.db(), ("INSERT INTO data(" + names.join(", ") + ") VALUES(" + marks.join(", ") + ")").toUtf8(),
        -1, &insert, nullptr);
    for (const auto& [rowid, values] : rows) {
      for (int i = 0; i < int(values.size()); ++i) {
        if (columns[i].type == ColumnType::Text) {
          const QByteArray u = values[i].toString().toUtf8();
          sqlite3_bind_text(insert, i + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        } else {
          sqlite3_bind_int64(insert, i + 1, values[i].toLongLong());
        }
      }
      const int rc = sqlite3_step(insert);
      sqlite3_reset(insert);
      if (rc == SQLITE_DONE)
        ++r.recovered;
      else if ((rc & 0xff) == SQLITE_CONSTRAINT)
        ++r.duplicates;
    }
    sqlite3_finalize(insert);
    QStringList verified;
    if (result.exec("COMMIT") != SQLITE_OK || !result.texts("PRAGMA integrity_check", &verified) ||
        verified != QStringList{"ok"}) {
      r.text = "the repaired file could not be completed: " + result.error();
      QFile::remove(fixing);
      return r;
    }
  }

  r.keptAs = keptName(dataPath);
  const QString journal = dataPath + "-journal";
  if (!QFile::rename(dataPath, r.keptAs) ||
      (QFile::exists(journal) && !QFile::rename(journal, r.keptAs + "-journal")) ||
      !QFile::rename(fixing, dataPath)) {
    r.text = "the repaired file is ready as " + fixing + " but could not take the place of the original";
    return r;
  }
  r.outcome = Outcome::Repaired;
  QString text = QString("%1 record(s) recovered").arg(r.recovered);
  if (r.expected >= 0) {
    const qint64 lost = qMax<qint64>(0, r.expected - r.recovered - r.duplicates);
    text += QString(" of %1; %2 could not be read").arg(r.expected).arg(lost);
  }
  if (r.duplicates) text += QString("; %1 left out as duplicates of a unique key").arg(r.duplicates);
  r.text = text + "; the original is kept as " + QFileInfo(r.keptAs).fileName();
  return r;
}

}  // namespace tpsfix
