#include "platform/files/view.h"

#include <sqlite3.h>

#include "platform/files/database.h"
#include "platform/files/file_state.h"
#include "platform/files/layout.h"

namespace files {

struct ViewRow : detail::Row {};

namespace {

using detail::Database;

std::vector<int> componentColumns(const File& f, const Key& k) {
  std::vector<int> cols;
  const auto& all = f.record().all();
  for (const Field* c : k.components())
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i] == c) cols.push_back(int(i));
  return cols;
}

}  // namespace

View::View(File& file, const Key& key) : file_(file), key_(key) {}

View::~View() {
  dropStatements();
}

void View::dropStatements() {
  for (auto& [id, st] : statements_)
    sqlite3_finalize(st);
  statements_.clear();
}

void View::setRange(std::vector<QVariant> values) {
  if (values.size() > key_.components().size()) values.resize(key_.components().size());
  if (values.size() != range_.size()) dropStatements();
  range_ = std::move(values);
}

void View::setCondition(const QString& sql, std::vector<QVariant> parameters) {
  if (sql != condition_) dropStatements();
  condition_ = sql;
  parameters_ = std::move(parameters);
}

void View::setTest(std::function<bool()> keep) {
  test_ = std::move(keep);
}

void View::clearFilter() {
  setCondition(QString(), {});
  test_ = nullptr;
}

View::Anchor View::anchorOfBuffer(Anchor::Kind kind) const {
  Anchor a;
  a.kind = kind;
  for (const Field* c : key_.components())
    a.values.push_back(c->value());
  a.pos = file_.position();
  return a;
}

sqlite3_stmt* View::statement(const QString& id, const QString& sql) {
  auto it = statements_.find(id);
  if (it != statements_.end()) {
    sqlite3_reset(it->second);
    sqlite3_clear_bindings(it->second);
    return it->second;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v3(Database::instance().handle(), sql.toUtf8().constData(), -1,
                         SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return nullptr;
  }
  statements_[id] = st;
  return st;
}

Status View::fetch(bool forward, const Anchor& from, int limit, std::vector<ViewRow>* rows) {
  File::State& s = *file_.state_;
  if (!s.open) return Status::error(kFileNotOpen);
  const auto& comps = key_.components();
  const int n = int(comps.size());
  // The parts every query of this view shares: membership of an optional key, the range, the filter.
  QStringList shared;
  if (const QString m = detail::membership(key_); !m.isEmpty()) shared << m;
  for (size_t i = 0; i < range_.size(); ++i)
    shared << detail::columnName(*comps[i]) + " = ?";
  if (!condition_.isEmpty()) shared << "(" + condition_ + ")";
  const auto bindShared = [&](sqlite3_stmt* st, int* at) {
    for (const QVariant& v : range_)
      detail::bind(st, (*at)++, v);
    for (const QVariant& v : parameters_)
      detail::bind(st, (*at)++, v);
  };
  const QString base = "SELECT " + detail::selectColumns(file_) + " FROM " + s.schema + ".data WHERE ";
  const QString order = " ORDER BY " + detail::orderBy(&key_, forward) + " LIMIT ?";
  const auto where = [&](const QString& anchor) {
    QStringList parts = shared;
    if (!anchor.isEmpty()) parts << anchor;
    return parts.isEmpty() ? QString("1") : parts.join(" AND ");
  };
  const char* dir = forward ? "f" : "b";
  // The range fixes the first components; anchors compare the rest, so that the engine seeks within
  // the range instead of walking it from its start.
  const int fixed = int(range_.size());
  QStringList freeColumns;
  for (int i = fixed; i < n; ++i)
    freeColumns << detail::columnName(*comps[i]);
  const QString freeRow = "(" + freeColumns.join(", ") + ")";
  const QString freeMarks = detail::placeholders(n - fixed);
  const auto bindFree = [&](sqlite3_stmt* st, int* at) {
    for (int i = fixed; i < n; ++i)
      detail::bind(st, (*at)++, from.values.at(i));
  };

  Anchor::Kind kind = from.kind;
  if (kind == Anchor::Before && forward) kind = Anchor::At;
  if (kind == Anchor::After && !forward) kind = Anchor::At;
  if ((kind == Anchor::Start && !forward) || (kind == Anchor::End && forward)) return Status::success();

  if (kind == Anchor::Start || kind == Anchor::End || kind == Anchor::Values) {
    const bool values = kind == Anchor::Values && fixed < n;
    const QString cmp = forward ? ">=" : "<=";
    sqlite3_stmt* st =
        statement(QString("%1:%2").arg(values ? "values" : "edge", dir),
                  base + where(values ? freeRow + " " + cmp + " " + freeMarks : QString()) + order);
    if (!st) return Database::instance().lastError();
    int at = 1;
    bindShared(st, &at);
    if (values) bindFree(st, &at);
    sqlite3_bind_int(st, at, limit);
    std::vector<detail::Row> got;
    const Status r = detail::collect(st, file_.record(), limit, &got);
    for (auto& g : got)
      rows->push_back(ViewRow{std::move(g)});
    return r;
  }
  // From a record: its equals on the far side of its position, then the records beyond its values.
  const bool inclusive = kind == Anchor::At;
  const QString tieCmp = forward ? (inclusive ? ">=" : ">") : (inclusive ? "<=" : "<");
  QStringList eq;
  for (const QString& c : freeColumns)
    eq << c + " = ?";
  eq << "_pos " + tieCmp + " ?";
  sqlite3_stmt* ties =
      statement(QString("ties:%1:%2").arg(dir, tieCmp), base + where(eq.join(" AND ")) + " ORDER BY " +
                                                            (forward ? "_pos" : "_pos DESC") + " LIMIT ?");
  if (!ties) return Database::instance().lastError();
  int at = 1;
  bindShared(ties, &at);
  bindFree(ties, &at);
  sqlite3_bind_int64(ties, at++, from.pos);
  sqlite3_bind_int(ties, at, limit);
  std::vector<detail::Row> got;
  Status r = detail::collect(ties, file_.record(), limit, &got);
  if (r && int(got.size()) < limit && fixed < n) {
    const QString cmp = forward ? ">" : "<";
    sqlite3_stmt* beyond =
        statement(QString("beyond:%1").arg(dir), base + where(freeRow + " " + cmp + " " + freeMarks) + order);
    if (!beyond) return Database::instance().lastError();
    at = 1;
    bindShared(beyond, &at);
    bindFree(beyond, &at);
    sqlite3_bind_int(beyond, at, limit - int(got.size()));
    r = detail::collect(beyond, file_.record(), limit, &got);  // up to `limit` rows in all
  }
  for (auto& g : got)
    rows->push_back(ViewRow{std::move(g)});
  return r;
}

Status View::read(bool forward, const Anchor& from, int count, const std::function<void()>& row, int* read) {
  File::State& s = *file_.state_;
  const std::vector<int> keyColumns = componentColumns(file_, key_);
  const auto& all = file_.record().all();
  int done = 0;
  Anchor a = from;
  while (done < count) {
    // A test filter may pass over many records for each one it keeps: read ahead in batches.
    const int batch = test_ ? qMax(count - done, detail::kReadAhead) : count - done;
    std::vector<ViewRow> rows;
    const Status st = fetch(forward, a, batch, &rows);
    if (!st) {
      if (read) *read = done;
      return st;
    }
    for (const ViewRow& r : rows) {
      for (size_t i = 0; i < all.size(); ++i)
        all[i]->setValue(r.values[i]);
      s.current = r.pos;
      s.change = r.change;
      ++s.activity;
      if (test_ && !test_()) continue;
      row();
      if (++done == count) break;
    }
    if (int(rows.size()) < batch || done == count) break;
    const ViewRow& last = rows.back();
    a.kind = forward ? Anchor::After : Anchor::Before;
    a.values.clear();
    for (int c : keyColumns)
      a.values.push_back(last.values[c]);
    a.pos = last.pos;
  }
  if (read) *read = done;
  return Status::success();
}

Status View::forward(const Anchor& from, int count, const std::function<void()>& row, int* read) {
  return this->read(true, from, count, row, read);
}

Status View::backward(const Anchor& from, int count, const std::function<void()>& row, int* read) {
  return this->read(false, from, count, row, read);
}

}  // namespace files
