// A record buffer: the fields and memos of one file's current record.
//
// Fields register themselves in declaration order when the derived struct is constructed (see
// field.h); fixed fields and memos keep separate lists because the files store memos beside the
// fixed part. A record is not copyable: procedures that must not disturb a buffer take a Snapshot of
// it and restore that afterwards.
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "platform/files/field.h"

namespace files {

class Record {
 public:
  explicit Record(const char* prefix) : prefix_(QString::fromLatin1(prefix)) {}
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;
  virtual ~Record() = default;

  const QString& prefix() const { return prefix_; }
  // Fixed fields in stored order, then the memos, in declaration order.
  const std::vector<Field*>& fields() const { return fields_; }
  const std::vector<Field*>& memos() const { return memos_; }
  // Every field, memos last: the order used by snapshots and by the files' columns.
  const std::vector<Field*>& all() const { return all_; }
  // A field or memo by its bare name ("Artist"), without regard to case; null when there is none.
  Field* field(const QString& name) const;

  // Blanks every field and memo.
  void clear();

  using Snapshot = std::vector<QVariant>;
  Snapshot snapshot() const;
  void restore(const Snapshot& s);
  // Whether the buffer holds exactly the values of `s` (memos included).
  bool equals(const Snapshot& s) const;

 private:
  friend class Field;
  void add(Field* f);

  QString prefix_;
  std::vector<Field*> fields_;
  std::vector<Field*> memos_;
  std::vector<Field*> all_;
};

}  // namespace files
