// A view: the records of one file in the order of one of its keys, limited to a range of that key
// and to the records a filter keeps, read a page at a time.
//
// The range fixes the key's leading components to values, so a view over "songs by media" limited
// to one media reads only that stretch of the key. The filter is either a condition in SQL over the
// file's columns (evaluated by the engine while it walks the key) or a test run on each record in
// the buffer (for conditions SQL cannot express); both may be set. Every record read is loaded into
// the file's buffer, becomes its current record, and is handed to the caller; the file's own
// sequence (set/next/previous) is not disturbed.
//
// Reading starts from an anchor: the start or the end of the view, the key values in the buffer
// (a locator), or a record already read (its key values and position), on either side of it. Pages
// are found with index seeks; nothing reads the whole file to show a page, except a test filter that
// keeps few records.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <vector>

#include "platform/files/file.h"

struct sqlite3_stmt;

namespace files {

class View {
 public:
  struct Anchor {
    enum Kind { Start, End, Values, After, Before, At } kind = Start;
    std::vector<QVariant> values;  // of the key's components
    Position pos = 0;
  };

  View(File& file, const Key& key);
  View(const View&) = delete;
  View& operator=(const View&) = delete;
  ~View();

  File& file() const { return file_; }
  const Key& key() const { return key_; }

  // The leading components of the key fixed to `values` (none: the whole key).
  void setRange(std::vector<QVariant> values);
  void setCondition(const QString& sql, std::vector<QVariant> parameters);
  void setTest(std::function<bool()> keep);
  void clearFilter();

  // The anchor of the record now in the buffer: its key values and current position.
  Anchor anchorOfBuffer(Anchor::Kind kind) const;

  // Reads up to `count` records forward (in key order) or backward from `from`, calling `row` with
  // each one loaded into the buffer. The number read comes back in `read`.
  Status forward(const Anchor& from, int count, const std::function<void()>& row, int* read = nullptr);
  Status backward(const Anchor& from, int count, const std::function<void()>& row, int* read = nullptr);

 private:
  Status read(bool forward, const Anchor& from, int count, const std::function<void()>& row, int* read);
  Status fetch(bool forward, const Anchor& from, int limit, std::vector<struct ViewRow>* rows);
  sqlite3_stmt* statement(const QString& id, const QString& sql);
  void dropStatements();

  File& file_;
  const Key& key_;
  std::vector<QVariant> range_;
  QString condition_;
  std::vector<QVariant> parameters_;
  std::function<bool()> test_;
  std::map<QString, sqlite3_stmt*> statements_;
};

}  // namespace files
