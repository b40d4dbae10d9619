#include "platform/files/file.h"

#include <QDir>
#include <QFileInfo>
#include <set>

#include "platform/files/database.h"
#include "platform/files/file_state.h"
#include "platform/files/layout.h"

namespace files {

using detail::Database;
using detail::prepared;
using detail::writable;

namespace {

// Files up to this size are checked completely on their first open; larger ones only at the ends of
// each key, so that opening a very large catalogue stays quick.
constexpr qint64 kFullCheckBytes = 4ll << 20;

bool isLocked(int rc) {
  return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

struct Meta {
  QString kind;
  QString label;
  int version = 0;
  QString layout;
};

// Reads the file's description from an attached schema.
Status readMeta(const QString& schema, Meta* meta) {
  Database& db = Database::instance();
  sqlite3_stmt* q = nullptr;
  const QString sql = QString("SELECT item, value FROM %1._kvx_file").arg(schema);
  int rc = sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &q, nullptr);
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
      const QString item = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
      const QString value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 1)));
      if (item == "kind") meta->kind = value;
      if (item == "label") meta->label = value;
      if (item == "version") meta->version = value.toInt();
      if (item == "layout") meta->layout = value;
    }
  }
  Status st;
  if (rc != SQLITE_DONE)
    st = isLocked(sqlite3_errcode(db.handle())) ? db.lastError()
                                                : Status::error(kNotADataFile, sqlite3_errmsg(db.handle()));
  sqlite3_finalize(q);
  return st;
}

// Rows of a query that yields one text column; a failure is the last row, prefixed "error: ".
QStringList textRows(const QString& sql) {
  Database& db = Database::instance();
  QStringList rows;
  sqlite3_stmt* q = nullptr;
  int rc = sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &q, nullptr);
  if (rc == SQLITE_OK)
    while ((rc = sqlite3_step(q)) == SQLITE_ROW)
      rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
  if (rc != SQLITE_DONE) rows << "error: " + QString::fromUtf8(sqlite3_errmsg(db.handle()));
  sqlite3_finalize(q);
  return rows;
}

// Whether every record can still be read in full, reading the records themselves and never a key:
// when they can, whatever the structural check found lies in the keys or in unused pages, and a
// rebuild mends it.
bool recordsReadable(const File& f, const QString& schema) {
  QStringList lengths{"0"};
  for (const Field* x : f.record().all())
    lengths << QString("length(%1)").arg(detail::columnName(*x));
  const QStringList checks{
      QString("SELECT sum(%1) FROM %2.data NOT INDEXED").arg(lengths.join(" + "), schema),
      QString("SELECT count(*) FROM %1._kvx_file").arg(schema),
      QString("SELECT count(*) FROM %1._kvx_count").arg(schema),
  };
  for (const QString& sql : checks) {
    const QStringList r = textRows(sql);
    if (r.isEmpty() || r.last().startsWith("error: ")) return false;
  }
  return true;
}

// Looks an attached file over on its first open in this process.
Status checkHealth(const File& f, const QString& schema, const QString& path) {
  static std::set<QString> sound;
  if (sound.count(path)) return Status::success();
  const QStringList indexes =
      textRows(QString("SELECT name FROM %1.sqlite_master WHERE type = 'index'").arg(schema));
  for (const Key* k : f.keys())
    if (!indexes.contains("K_" + k->name()))
      return Status::error(kInvalidKey, "key " + k->name() + " is missing");
  bool full = QFileInfo(path).size() <= kFullCheckBytes;
  if (!full) {
    // Read the first and the last entry of every key: damage there shows at once, and damage
    // anywhere else makes the full check below run.
    for (const Key* k : f.keys()) {
      for (const char* dir : {"", " DESC"}) {
        QStringList cols;
        for (const Field* c : k->components())
          cols << detail::columnName(*c) + dir;
        const QString member = detail::membership(*k);
        const QStringList r =
            textRows(QString("SELECT 1 FROM %1.data INDEXED BY %2%3 ORDER BY %4 LIMIT 1")
                         .arg(schema, detail::indexName(*k),
                              member.isEmpty() ? QString() : " WHERE " + member, cols.join(", ")));
        if (!r.isEmpty() && r.last().startsWith("error: ")) full = true;
      }
    }
    if (!full) {
      sound.insert(path);
      return Status::success();
    }
  }
  const QStringList problems = textRows(QString("PRAGMA %1.quick_check").arg(schema));
  if (problems == QStringList{"ok"}) {
    sound.insert(path);
    return Status::success();
  }
  if (!problems.isEmpty() && isLocked(sqlite3_errcode(Database::instance().handle())) &&
      problems.last().startsWith("error: "))
    return Status::error(kFileLocked);
  return recordsReadable(f, schema) ? Status::error(kInvalidKey, problems.join("; "))
                                    : Status::error(kNotADataFile, problems.join("; "));
}

}  // namespace

// --- opening and creating ----------------------------------------------------------------------

Status File::open(Access access) {
  State& s = *state_;
  if (s.open) return Status::error(kFileAlreadyOpen);
  s.path = path();
  Database& db = Database::instance();
  if (access == Access::Exclusive && db.isAttached(s.path))
    return Status::error(kAccessDenied, "the file is in use");
  const bool exclusive = access == Access::Exclusive;
  Status st = db.attach(s.path, false, &s.schema,
                        exclusive ? PresenceLock::Mode::Exclusive : PresenceLock::Mode::Shared);
  if (exclusive && st.code == kFileLocked) return Status::error(kAccessDenied, "the file is in use");
  if (!st) return st;
  Meta meta;
  st = readMeta(s.schema, &meta);
  if (st && meta.kind != detail::kFileKind)
    st = Status::error(kNotADataFile, "not a data file of this program");
  if (st && meta.layout != detail::layoutText(*this)) st = Status::error(kLayoutMismatch);
  if (st) st = checkHealth(*this, s.schema, s.path);
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
  return createAt(path());
}

Status File::createAt(const QString& p) const {
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

Status File::onDisk(OnDisk* out) const {
  const QString p = path();
  Database& db = Database::instance();
  QString schema;
  if (Status st = db.attach(p, false, &schema); !st) return st;
  Meta meta;
  const Status st = readMeta(schema, &meta);
  db.detach(p);
  if (!st) return st;
  out->ours = meta.kind == detail::kFileKind;
  out->label = meta.label;
  out->version = meta.version;
  out->layout = meta.layout;
  return Status::success();
}

void File::close() {
  State& s = *state_;
  if (!s.open) return;
  // Writes a stream left unflushed become durable now; close() has no caller to tell of a failure,
  // so a writer that must know flushes itself first.
  (void)flush();
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

Status File::stored(Position pos, Record::Snapshot* out) {
  State& s = *state_;
  if (!s.open) return Status::error(kFileNotOpen);
  Status st;
  const std::optional<detail::Row> row = detail::rowAt(*this, s, pos, &st);
  if (row) *out = row->values;
  return st;
}

// --- maintenance -------------------------------------------------------------------------------

Status File::rebuildKeys() {
  State& s = *state_;
  Database& db = Database::instance();
  if (db.inTransaction()) return Status::error(kTransactionActive);
  // A file whose keys are too damaged to open is rebuilt without being opened.
  const bool wasOpen = s.open;
  QString schema = s.schema;
  if (wasOpen) {
    if (Status w = writable(s); !w) return w;
    s.finalizeAll();
    s.ahead.clear();
  } else if (Status a = db.attach(path(), false, &schema); !a) {
    return a;
  }
  // The keys are dropped without reading them (their entries leave the schema; their pages are left
  // behind), VACUUM then copies only the records into a fresh image of the file, which leaves the
  // old key pages out, and the keys are built anew from the records. Each step is atomic; a stop in
  // between leaves a file whose missing keys the next open notices.
  Status st = db.exec("PRAGMA writable_schema=ON");
  if (st) st = db.begin(Database::kDefaultWaitMs);
  if (st) {
    st =
        db.exec(QString("DELETE FROM %1.sqlite_master WHERE type = 'index' AND name LIKE 'K\\_%' ESCAPE '\\'")
                    .arg(schema));
    if (st)
      st = db.commit();
    else
      db.rollback();
  }
  (void)db.exec("PRAGMA writable_schema=RESET");  // off again, and the schema read afresh; VACUUM tells
  if (st) st = db.exec(QString("VACUUM %1").arg(schema));
  if (st) st = db.begin(Database::kDefaultWaitMs);
  if (st) {
    for (const Key* k : keys_) {
      st = db.exec(detail::createIndexStatement(*k, schema));
      if (!st) break;
    }
    if (st) st = db.exec(QString("UPDATE %1._kvx_count SET n = (SELECT count(*) FROM %1.data)").arg(schema));
    if (st)
      st = db.commit();
    else
      db.rollback();
  }
  db.noteWrite();
  if (!wasOpen) db.detach(path());
  if (!st && st.code == kDriverError && (st.driverCode & 0xff) == SQLITE_CONSTRAINT)
    st = Status::error(kDuplicateKey);
  return st;
}

namespace {

// The value a declared field takes from the stored column of the same name (or its default).
QString converted(const Field& f, const std::set<QString>& storedColumns) {
  if (!storedColumns.count(f.name().toLower())) return f.isText() ? "''" : "0";
  const QString col = detail::columnName(f);
  if (f.isText())
    return f.width() > 0 ? QString("rtrim(substr(CAST(%1 AS TEXT), 1, %2), ' ')").arg(col).arg(f.width())
                         : QString("CAST(%1 AS TEXT)").arg(col);
  return QString("max(%1, min(%2, CAST(%3 AS INTEGER)))").arg(f.minimum()).arg(f.maximum()).arg(col);
}

}  // namespace

Status File::convert() {
  if (state_->open) return Status::error(kFileAlreadyOpen);
  const QString p = path();
  Database& db = Database::instance();
  if (db.inTransaction()) return Status::error(kTransactionActive);
  QString schema;
  if (Status st = db.attach(p, false, &schema); !st) return st;
  std::set<QString> storedColumns;
  for (const QString& c : textRows(QString("SELECT name FROM pragma_table_info('data', '%1')").arg(schema)))
    storedColumns.insert(c.toLower());
  Status st = db.begin(Database::kDefaultWaitMs);
  if (!st) {
    db.detach(p);
    return st;
  }
  QStringList drop;
  for (const QString& row :
       textRows(QString("SELECT type || ' ' || name FROM %1.sqlite_master WHERE "
                        "tbl_name IN ('data', '_kvx_file', '_kvx_count') AND type IN "
                        "('index', 'trigger') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'")
                    .arg(schema))) {
    const qsizetype sp = row.indexOf(' ');
    drop << QString("DROP %1 %2.%3").arg(row.left(sp).toUpper(), schema, detail::quoted(row.mid(sp + 1)));
  }
  QStringList sql = drop;
  sql << QString("ALTER TABLE %1.data RENAME TO _old_data").arg(schema);
  sql << QString("DROP TABLE %1._kvx_file").arg(schema) << QString("DROP TABLE %1._kvx_count").arg(schema);
  sql << detail::createStatements(*this, schema);
  QStringList cols{"_pos", "_chg"}, values{"_pos", "_chg"};
  for (const Field* f : record_.all()) {
    cols << detail::columnName(*f);
    values << converted(*f, storedColumns);
  }
  sql << QString("INSERT INTO %1.data(%2) SELECT %3 FROM %1._old_data")
             .arg(schema, cols.join(", "), values.join(", "));
  sql << QString("DROP TABLE %1._old_data").arg(schema);
  sql << QString("UPDATE %1._kvx_count SET n = (SELECT count(*) FROM %1.data)").arg(schema);
  for (const QString& statement : sql) {
    st = db.exec(statement);
    if (!st) break;
  }
  if (st)
    st = db.commit();
  else
    db.rollback();
  db.noteWrite();
  db.detach(p);
  if (!st && st.code == kDriverError && (st.driverCode & 0xff) == SQLITE_CONSTRAINT)
    st = Status::error(kDuplicateKey);
  return st;
}

}  // namespace files
