#include "storage/file_scope.h"

#include "storage/file_access.h"

FileScope::FileScope(const std::vector<files::File*>& files) {
  for (files::File* f : files) {
    if (!OpenFile(*f)) {
      ok_ = false;
      return;
    }
    opened_.push_back(f);
  }
}

FileScope::~FileScope() {
  for (auto f = opened_.rbegin(); f != opened_.rend(); ++f)
    CloseFile(**f);
}
