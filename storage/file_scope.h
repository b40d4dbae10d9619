// The files a procedure uses, open through the open counts for as long as the procedure runs.
//
//   const FileScope files({&Categories, &Media, &Cantorix});
//   if (!files) return;  // an open failed and was reported; nothing stays open
//   ...                  // on every way out the files close again, the last opened first
//
// Declare the scope before anything that reads the files (a browse, a view), so that it goes first.
#pragma once

#include <vector>

#include "platform/files/file.h"

class FileScope {
 public:
  explicit FileScope(const std::vector<files::File*>& files);
  ~FileScope();
  FileScope(const FileScope&) = delete;
  FileScope& operator=(const FileScope&) = delete;

  explicit operator bool() const { return ok_; }

 private:
  std::vector<files::File*> opened_;
  bool ok_ = true;
};
