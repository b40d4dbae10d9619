// The driver's state of one file and the statement helpers its parts share (internal to
// platform/files: file.cpp reads and writes records, file_storage.cpp opens, creates, checks and
// converts files).
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/files/file.h"

namespace files {

namespace detail {

struct Row {
  Position pos = 0;
  qint64 change = 0;
  std::vector<QVariant> values;  // Record::all() order
};

// Number of rows to read at once while QUICKSCAN is on.
inline constexpr int kReadAhead = 64;

}  // namespace detail

// Where next() and previous() go from.
enum class From {
  Start,        // next: first record; previous: last record
  Values,       // next: first at or after `values`; previous: last at or before
  After,        // strictly after / before the record (`values`, `pos`)
  At,           // next reads the record (`values`, `pos`) itself, previous too
  PastEnd,      // next: nothing; previous: last record
  BeforeStart,  // previous: nothing; next: first record
};

namespace detail {

// Where the buffer's record came from and where next() and previous() go on from: what a waiting
// thread keeps of a file besides its buffer (held_buffers.h).
struct Place {
  const Key* key = nullptr;  // null: file order
  From from = From::Start;
  std::vector<QVariant> values;
  Position pos = 0;

  Position current = 0;
  qint64 change = 0;
  bool watchNext = false;
  bool watched = false;
};

}  // namespace detail

struct File::State : detail::Place {
  QString path;
  QString schema;
  bool open = false;
  Access access = Access::Shared;
  std::map<QString, sqlite3_stmt*> statements;
  std::map<const Key*, std::vector<int>> componentColumns;

  quint64 activity = 0;  // reads and writes
  quint64 serial = 0;    // see held_buffers.cpp
  bool streaming = false;
  bool batch = false;  // the stream's writes are in a transaction of its own

  bool quickScan = false;
  std::deque<detail::Row> ahead;
  bool aheadForward = true;
  quint64 aheadGeneration = 0;
  int recoverSeconds = 0;

  void finalizeAll() {
    for (auto& [id, st] : statements)
      sqlite3_finalize(st);
    statements.clear();
  }
};

namespace detail {

void bind(sqlite3_stmt* st, int index, const QVariant& v);
// kNoError when the file is open for writing.
Status writable(const File::State& s);
// A cached statement of the file, reset and unbound; made from sql() the first time. Null on error.
sqlite3_stmt* prepared(File::State& s, const QString& id, const std::function<QString()>& sql);
Row readRow(sqlite3_stmt* st, const Record& rec);
// Steps `st` to the end, appending up to `limit` rows; resets it so no read lock outlives the call.
Status collect(sqlite3_stmt* st, const Record& rec, int limit, std::vector<Row>* rows);
// The stored row at `pos`, or nullopt with kRecordNotFound or the read error in `status`.
std::optional<Row> rowAt(File& f, File::State& s, Position pos, Status* status);
// The registry of live File objects that a thread's held buffers are put back into.
void registerFile(File* f, File::State& s);
void unregisterFile(File* f);

}  // namespace detail
}  // namespace files
