#include "platform/files/file.h"

#include <QDir>

#include "platform/files/database.h"
#include "platform/files/file_state.h"
#include "platform/files/layout.h"

namespace files {

using detail::bind;
using detail::collect;
using detail::Database;
using detail::orderBy;
using detail::placeholders;
using detail::prepared;
using detail::readRow;
using detail::Row;
using detail::rowAt;
using detail::rowValue;
using detail::writable;

File::File(Record& record, const char* label, const char* name, int version)
    : record_(record),
      label_(QString::fromLatin1(label)),
      name_(QString::fromLatin1(name)),
      version_(version),
      state_(std::make_unique<State>()) {
  detail::registerFile(this, *state_);
}

File::~File() {
  detail::unregisterFile(this);
  // Statements belong to the connection; a file still open at exit releases them.
  if (state_->open) close();
}

Key* File::key(const QString& name) const {
  for (Key* k : keys_)
    if (k->name().compare(name, Qt::CaseInsensitive) == 0 ||
        k->label().compare(name, Qt::CaseInsensitive) == 0)
      return k;
  return nullptr;
}

std::vector<Key*> File::numberedKeys() const {
  std::vector<Key*> out;
  for (Key* k : keys_)
    if (k->isNumbered()) out.push_back(k);
  return out;
}

QString File::path() const {
  return QDir::current().absoluteFilePath(name_ + ".tps");
}

QString File::layout() const {
  return detail::layoutText(*this);
}

bool File::isOpen() const {
  return state_->open;
}

// --- statements --------------------------------------------------------------------------------

namespace detail {

Status writable(const File::State& s) {
  if (!s.open) return Status::error(kFileNotOpen);
  if (s.access == Access::ReadOnly) return Status::error(kAccessDenied);
  return Status::success();
}

void bind(sqlite3_stmt* st, int index, const QVariant& v) {
  if (v.typeId() == QMetaType::QString) {
    const QByteArray u = v.toString().toUtf8();
    sqlite3_bind_text(st, index, u.constData(), u.size(), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_int64(st, index, v.toLongLong());
  }
}

sqlite3_stmt* prepared(File::State& s, const QString& id, const std::function<QString()>& sql) {
  auto it = s.statements.find(id);
  if (it != s.statements.end()) {
    sqlite3_reset(it->second);
    sqlite3_clear_bindings(it->second);
    return it->second;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v3(Database::instance().handle(), sql().toUtf8().constData(), -1,
                         SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return nullptr;
  }
  s.statements[id] = st;
  return st;
}

Row readRow(sqlite3_stmt* st, const Record& rec) {
  Row r;
  r.pos = sqlite3_column_int64(st, 0);
  r.change = sqlite3_column_int64(st, 1);
  const auto& all = rec.all();
  r.values.reserve(all.size());
  for (size_t i = 0; i < all.size(); ++i) {
    const int col = int(i) + 2;
    if (all[i]->isText()) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
      r.values.emplace_back(QString::fromUtf8(text, sqlite3_column_bytes(st, col)));
    } else {
      r.values.emplace_back(qlonglong(sqlite3_column_int64(st, col)));
    }
  }
  return r;
}

// Steps `st` to the end, appending up to `limit` rows; resets it so no read lock outlives the call.
Status collect(sqlite3_stmt* st, const Record& rec, int limit, std::vector<Row>* rows) {
  int rc = SQLITE_DONE;
  while (int(rows->size()) < limit && (rc = sqlite3_step(st)) == SQLITE_ROW)
    rows->push_back(readRow(st, rec));
  const bool failed = int(rows->size()) < limit && rc != SQLITE_DONE;
  const Status s = failed ? Database::instance().lastError() : Status::success();
  sqlite3_reset(st);
  return s;
}

}  // namespace detail

namespace {}  // namespace

// --- positioning and reading -------------------------------------------------------------------

namespace {

const std::vector<int>& columnsOf(File::State& s, const Record& rec, const Key& k) {
  auto it = s.componentColumns.find(&k);
  if (it != s.componentColumns.end()) return it->second;
  std::vector<int> cols;
  for (const Field* c : k.components()) {
    const auto& all = rec.all();
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i] == c) cols.push_back(int(i));
  }
  return s.componentColumns[&k] = cols;
}

std::vector<QVariant> bufferValues(const Key& k) {
  std::vector<QVariant> v;
  for (const Field* c : k.components())
    v.push_back(c->value());
  return v;
}

}  // namespace

void File::set(const Key& key) {
  state_->key = &key;
  state_->from = From::Start;
  state_->ahead.clear();
}

void File::setFrom(const Key& key) {
  state_->key = &key;
  state_->from = From::Values;
  state_->values = bufferValues(key);
  state_->ahead.clear();
}

void File::setByPosition() {
  state_->key = nullptr;
  state_->from = From::Start;
  state_->ahead.clear();
}

Position File::position() const {
  return state_->current;
}

void File::stream() {
  state_->streaming = true;
}

Status File::flush() {
  State& s = *state_;
  s.streaming = false;
  if (!s.batch) return Status::success();
  s.batch = false;
  return Database::instance().commit();
}

void File::watch() {
  state_->watchNext = true;
}

namespace {

// Fills the buffer from a row and makes it the current record and the sequence's new point.
void load(File& f, File::State& s, const Row& r) {
  const auto& all = f.record().all();
  for (size_t i = 0; i < all.size(); ++i)
    all[i]->setValue(r.values[i]);
  s.current = r.pos;
  s.change = r.change;
  ++s.activity;
  if (s.watchNext) {
    s.watched = true;
    s.watchNext = false;
  }
  s.from = From::After;
  s.pos = r.pos;
  s.values.clear();
  if (s.key)
    for (int c : columnsOf(s, f.record(), *s.key))
      s.values.push_back(r.values[c]);
}

// Reads up to `limit` rows from the sequence point in one direction, in key order.
Status query(File& f, File::State& s, bool forward, int limit, std::vector<Row>* rows) {
  const QString base = "SELECT " + detail::selectColumns(f) + " FROM " + s.schema + ".data WHERE ";
  const Key* k = s.key;
  const QString member = k ? detail::membership(*k) : QString();
  const QString keyId = k ? k->name() : QString("#");
  const auto where = [&](const QString& cond) {
    QStringList parts;
    if (!member.isEmpty()) parts << member;
    if (!cond.isEmpty()) parts << cond;
    return parts.isEmpty() ? QString("1") : parts.join(" AND ");
  };
  const int n = k ? int(k->components().size()) : 0;
  const char* dir = forward ? "f" : "b";
  From from = s.from;
  if (from == From::PastEnd) from = forward ? From::PastEnd : From::Start;
  if (from == From::BeforeStart) from = forward ? From::Start : From::BeforeStart;
  if (from == From::PastEnd || from == From::BeforeStart) return Status::success();
  if (!k && from == From::Values) from = From::Start;

  if (from == From::Start) {
    sqlite3_stmt* st = prepared(s, QString("start:%1:%2").arg(keyId, dir), [&] {
      return base + where("") + " ORDER BY " + orderBy(k, forward) + " LIMIT ?";
    });
    if (!st) return Database::instance().lastError();
    sqlite3_bind_int(st, 1, limit);
    return collect(st, f.record(), limit, rows);
  }
  if (!k) {  // file order from a record
    const bool inclusive = from == From::At;
    const QString cmp = forward ? (inclusive ? ">=" : ">") : (inclusive ? "<=" : "<");
    sqlite3_stmt* st = prepared(s, QString("pos:%1:%2").arg(cmp, dir), [&] {
      return base + "_pos " + cmp + " ?" + " ORDER BY " + orderBy(nullptr, forward) + " LIMIT ?";
    });
    if (!st) return Database::instance().lastError();
    sqlite3_bind_int64(st, 1, s.pos);
    sqlite3_bind_int(st, 2, limit);
    return collect(st, f.record(), limit, rows);
  }
  if (from == From::Values) {
    const QString cmp = forward ? ">=" : "<=";
    sqlite3_stmt* st = prepared(s, QString("values:%1:%2").arg(keyId, dir), [&] {
      return base + where(rowValue(*k) + " " + cmp + " " + placeholders(n)) + " ORDER BY " +
             orderBy(k, forward) + " LIMIT ?";
    });
    if (!st) return Database::instance().lastError();
    for (int i = 0; i < n; ++i)
      bind(st, i + 1, s.values[i]);
    sqlite3_bind_int(st, n + 1, limit);
    return collect(st, f.record(), limit, rows);
  }
  // From a record: first the records with equal key values on the far side of its position (they
  // follow one another by position), then those strictly beyond its key values. Two index seeks.
  const bool inclusive = from == From::At;
  if (!k->isUnique() || inclusive) {
    const QString cmp = forward ? (inclusive ? ">=" : ">") : (inclusive ? "<=" : "<");
    sqlite3_stmt* st = prepared(s, QString("ties:%1:%2:%3").arg(keyId, dir, cmp), [&] {
      QStringList eq;
      for (const Field* c : k->components())
        eq << detail::columnName(*c) + " = ?";
      return base + where(eq.join(" AND ") + " AND _pos " + cmp + " ?") + " ORDER BY " +
             (forward ? "_pos" : "_pos DESC") + " LIMIT ?";
    });
    if (!st) return Database::instance().lastError();
    for (int i = 0; i < n; ++i)
      bind(st, i + 1, s.values[i]);
    sqlite3_bind_int64(st, n + 1, s.pos);
    sqlite3_bind_int(st, n + 2, limit);
    const Status ties = collect(st, f.record(), limit, rows);
    if (!ties || int(rows->size()) >= limit) return ties;
  }
  const QString cmp = forward ? ">" : "<";
  sqlite3_stmt* st = prepared(s, QString("beyond:%1:%2").arg(keyId, dir), [&] {
    return base + where(rowValue(*k) + " " + cmp + " " + placeholders(n)) + " ORDER BY " +
           orderBy(k, forward) + " LIMIT ?";
  });
  if (!st) return Database::instance().lastError();
  for (int i = 0; i < n; ++i)
    bind(st, i + 1, s.values[i]);
  sqlite3_bind_int(st, n + 1, limit - int(rows->size()));
  return collect(st, f.record(), limit, rows);
}

Status step(File& f, File::State& s, bool forward) {
  if (!s.open) return Status::error(kFileNotOpen);
  Database& db = Database::instance();
  if (s.quickScan && !s.ahead.empty() && s.aheadForward == forward && s.aheadGeneration == db.generation()) {
    const Row r = std::move(s.ahead.front());
    s.ahead.pop_front();
    load(f, s, r);
    return Status::success();
  }
  s.ahead.clear();
  std::vector<Row> rows;
  const Status st = query(f, s, forward, s.quickScan ? detail::kReadAhead : 1, &rows);
  if (!st) return st;
  if (rows.empty()) {
    s.from = forward ? From::PastEnd : From::BeforeStart;
    return Status::error(kNoRecord);
  }
  load(f, s, rows.front());
  s.ahead.assign(std::make_move_iterator(rows.begin() + 1), std::make_move_iterator(rows.end()));
  s.aheadForward = forward;
  s.aheadGeneration = db.generation();
  return Status::success();
}

}  // namespace

namespace detail {

std::optional<Row> rowAt(File& f, File::State& s, Position pos, Status* status) {
  sqlite3_stmt* st = prepared(s, "at", [&] {
    return "SELECT " + detail::selectColumns(f) + " FROM " + s.schema + ".data WHERE _pos = ?";
  });
  if (!st) {
    *status = Database::instance().lastError();
    return std::nullopt;
  }
  sqlite3_bind_int64(st, 1, pos);
  std::vector<Row> rows;
  *status = collect(st, f.record(), 1, &rows);
  if (!*status) return std::nullopt;
  if (rows.empty()) {
    *status = Status::error(kRecordNotFound);
    return std::nullopt;
  }
  return rows.front();
}

}  // namespace detail

Status File::next() {
  return step(*this, *state_, true);
}
Status File::previous() {
  return step(*this, *state_, false);
}

void File::resetTo(const Key& key, Position pos) {
  State& s = *state_;
  s.key = &key;
  s.ahead.clear();
  s.from = From::Start;
  if (!s.open) return;
  Status st;
  if (auto r = rowAt(*this, s, pos, &st)) {
    s.from = From::At;
    s.pos = pos;
    s.values.clear();
    for (int c : columnsOf(s, record_, key))
      s.values.push_back(r->values[c]);
  }
}

Status File::get(const Key& key) {
  State& s = *state_;
  if (!s.open) return Status::error(kFileNotOpen);
  if (!key.holdsBuffer()) return Status::error(kRecordNotFound);
  sqlite3_stmt* st = prepared(s, "get:" + key.name(), [&] {
    QStringList eq;
    for (const Field* c : key.components())
      eq << detail::columnName(*c) + " = ?";
    const QString member = detail::membership(key);
    return "SELECT " + detail::selectColumns(*this) + " FROM " + s.schema + ".data WHERE " +
           (member.isEmpty() ? "" : member + " AND ") + eq.join(" AND ") + " ORDER BY " +
           orderBy(&key, true) + " LIMIT 1";
  });
  if (!st) return Database::instance().lastError();
  int i = 1;
  for (const Field* c : key.components())
    bind(st, i++, c->value());
  std::vector<Row> rows;
  const Status r = collect(st, record_, 1, &rows);
  if (!r) return r;
  if (rows.empty()) return Status::error(kRecordNotFound);
  s.key = &key;
  s.ahead.clear();
  load(*this, s, rows.front());
  return Status::success();
}

Status File::get(Position pos) {
  State& s = *state_;
  if (!s.open) return Status::error(kFileNotOpen);
  Status st;
  auto r = rowAt(*this, s, pos, &st);
  if (!r) return st;
  s.ahead.clear();
  load(*this, s, *r);
  return Status::success();
}

// --- writing -----------------------------------------------------------------------------------

namespace {

// After a constraint failure: the unique key whose value another record holds already.
Status duplicateOf(File& f, File::State& s, Position self) {
  for (const Key* k : f.keys()) {
    if (!k->isUnique() || !k->holdsBuffer()) continue;
    sqlite3_stmt* st = prepared(s, "dup:" + k->name(), [&] {
      QStringList eq;
      for (const Field* c : k->components())
        eq << detail::columnName(*c) + " = ?";
      const QString member = detail::membership(*k);
      return "SELECT _pos FROM " + s.schema + ".data WHERE " + (member.isEmpty() ? "" : member + " AND ") +
             eq.join(" AND ") + " AND _pos <> ? LIMIT 1";
    });
    if (!st) continue;
    int i = 1;
    for (const Field* c : k->components())
      bind(st, i++, c->value());
    sqlite3_bind_int64(st, i, self);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_reset(st);
    if (found) {
      Status d = Status::error(kDuplicateKey);
      d.key = k->label();
      return d;
    }
  }
  return Status::error(kDuplicateKey);
}

Status writeFailure(File& f, File::State& s, Position self) {
  sqlite3* db = Database::instance().handle();
  if ((sqlite3_errcode(db) & 0xff) == SQLITE_CONSTRAINT) return duplicateOf(f, s, self);
  return Database::instance().lastError();
}

}  // namespace

namespace {

// A streaming file's first write opens the batch its writes share until the flush.
void joinBatch(File::State& s) {
  Database& db = Database::instance();
  if (s.streaming && !s.batch && !db.inTransaction()) s.batch = db.begin(Database::kDefaultWaitMs).ok();
}

}  // namespace

Status File::add() {
  State& s = *state_;
  if (Status w = writable(s); !w) return w;
  joinBatch(s);
  sqlite3_stmt* st = prepared(s, "add", [&] {
    QStringList cols;
    for (const Field* x : record_.all())
      cols << detail::columnName(*x);
    return "INSERT INTO " + s.schema + ".data(" + cols.join(", ") + ") VALUES" +
           placeholders(int(cols.size()));
  });
  if (!st) return Database::instance().lastError();
  int i = 1;
  for (const Field* x : record_.all())
    bind(st, i++, x->value());
  const int rc = sqlite3_step(st);
  sqlite3_reset(st);
  if (rc != SQLITE_DONE) return writeFailure(*this, s, 0);
  Database::instance().noteWrite();
  ++s.activity;
  s.current = sqlite3_last_insert_rowid(Database::instance().handle());
  s.change = 0;
  return Status::success();
}

Status File::put() {
  State& s = *state_;
  if (Status w = writable(s); !w) return w;
  joinBatch(s);
  if (s.current == 0) return Status::error(kNoRecord);
  const bool checked = s.watched;
  sqlite3_stmt* st = prepared(s, checked ? "put:watched" : "put", [&] {
    QStringList sets;
    for (const Field* x : record_.all())
      sets << detail::columnName(*x) + " = ?";
    return "UPDATE " + s.schema + ".data SET " + sets.join(", ") + ", _chg = _chg + 1 WHERE _pos = ?" +
           (checked ? " AND _chg = ?" : "");
  });
  if (!st) return Database::instance().lastError();
  int i = 1;
  for (const Field* x : record_.all())
    bind(st, i++, x->value());
  sqlite3_bind_int64(st, i++, s.current);
  if (checked) sqlite3_bind_int64(st, i, s.change);
  const int rc = sqlite3_step(st);
  sqlite3_reset(st);
  if (rc != SQLITE_DONE) return writeFailure(*this, s, s.current);
  Database::instance().noteWrite();
  ++s.activity;
  if (sqlite3_changes(Database::instance().handle()) == 0) {
    Status gone;
    const bool exists = rowAt(*this, s, s.current, &gone).has_value();
    return Status::error(exists ? kChangedByOther : kRecordNotFound);
  }
  ++s.change;
  return Status::success();
}

Status File::remove() {
  State& s = *state_;
  if (Status w = writable(s); !w) return w;
  joinBatch(s);
  if (s.current == 0) return Status::error(kNoRecord);
  const bool checked = s.watched;
  sqlite3_stmt* st = prepared(s, checked ? "delete:watched" : "delete", [&] {
    return "DELETE FROM " + s.schema + ".data WHERE _pos = ?" + (checked ? " AND _chg = ?" : "");
  });
  if (!st) return Database::instance().lastError();
  sqlite3_bind_int64(st, 1, s.current);
  if (checked) sqlite3_bind_int64(st, 2, s.change);
  const int rc = sqlite3_step(st);
  sqlite3_reset(st);
  if (rc != SQLITE_DONE) return Database::instance().lastError();
  Database::instance().noteWrite();
  ++s.activity;
  if (sqlite3_changes(Database::instance().handle()) == 0) {
    Status gone;
    const bool exists = rowAt(*this, s, s.current, &gone).has_value();
    return Status::error(exists ? kChangedByOther : kRecordNotFound);
  }
  s.current = 0;
  s.watched = false;
  return Status::success();
}

// --- keys --------------------------------------------------------------------------------------

Key::Key(File* file, const char* name, std::initializer_list<Field*> components, unsigned attributes,
         const char* description)
    : file_(file),
      name_(QString::fromLatin1(name)),
      label_(file->prefix() + ":" + QString::fromLatin1(name)),
      description_(description ? QString::fromUtf8(description) : QString()),
      components_(components),
      attributes_(attributes) {
  file->addKey(this);
}

bool Key::holdsBuffer() const {
  return !isOptional() || components_.empty() || !components_.front()->isBlank();
}

}  // namespace files
