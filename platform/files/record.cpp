#include "platform/files/record.h"

namespace files {

void Record::add(Field* f) {
  (f->isMemo() ? memos_ : fields_).push_back(f);
  // Memos always follow the fixed fields in all_, whatever order the struct declares them in.
  all_.clear();
  all_.insert(all_.end(), fields_.begin(), fields_.end());
  all_.insert(all_.end(), memos_.begin(), memos_.end());
}

Field* Record::field(const QString& name) const {
  for (Field* f : all_)
    if (f->name().compare(name, Qt::CaseInsensitive) == 0) return f;
  return nullptr;
}

void Record::clear() {
  for (Field* f : all_)
    f->clear();
}

Record::Snapshot Record::snapshot() const {
  Snapshot s;
  s.reserve(all_.size());
  for (const Field* f : all_)
    s.push_back(f->value());
  return s;
}

void Record::restore(const Snapshot& s) {
  for (size_t i = 0; i < all_.size() && i < s.size(); ++i)
    all_[i]->setValue(s[i]);
}

bool Record::equals(const Snapshot& s) const {
  if (s.size() != all_.size()) return false;
  for (size_t i = 0; i < all_.size(); ++i)
    if (all_[i]->value() != s[i]) return false;
  return true;
}

}  // namespace files
