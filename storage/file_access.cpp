#include "storage/file_access.h"

#include <map>

#include "platform/settings/settings_file.h"
#include "storage/messages.h"

namespace {

std::map<const files::File*, int>& openCounts() {
  static std::map<const files::File*, int> counts;
  return counts;
}

// Opens a file that is not open yet; the numbered steps are those of the open algorithm.
bool openNow(files::File& f, bool mayCreate, bool silent, files::Access access) {
  SetCrashMarker(f.name());
  files::Status s = f.open(access);
  if (s.code == files::kFileLocked) {
    // Another station stopped while holding the file: give its rollback time to be undone, once.
    f.sendOption("Recover=10");
    s = f.open(access);
  }
  if (s.ok() || s.code == files::kFileAlreadyOpen) {
    SetCrashMarker(QString());
    return true;
  }
  const MessageDetails about{.file = f.label(), .error = s};
  if (s.code == files::kFileNotFound) {
    SetCrashMarker(QString());
    if (!mayCreate) {
      if (!silent) StandardMessage(4, about);
      return false;
    }
    if (files::Status c = f.create(); !c) {
      if (!silent) StandardMessage(4, {.file = f.label(), .error = c});
      return false;
    }
    if (files::Status o = f.open(access); !o) {
      if (!silent) StandardMessage(5, {.file = f.label(), .error = o});
      return false;
    }
    return true;
  }
  if (s.code == files::kInvalidKey) {
    if (silent) return false;
    StandardMessage(2, about);  // No ends the program
    if (files::Status r = f.open(access); r.ok() || r.code == files::kFileAlreadyOpen) {
      if (files::Status k = f.rebuildKeys(); !k) StandardMessage(3, {.file = f.label(), .error = k});
      SetCrashMarker(QString());
      return true;
    }
  }
  if (s.code == files::kLayoutMismatch) {
    SetCrashMarker(QString());
    if (!silent) StandardMessage(1, about);
    return false;
  }
  if (s.code == files::kNotADataFile || s.code == files::kDriverError) SetCrashMarker(QString());
  // The file is neither missing nor ours to repair here: report it and leave it as it is.
  if (!silent) StandardMessage(30, about);
  return false;
}

}  // namespace

bool OpenFile(files::File& file, bool mayCreate, bool silent, files::Access access) {
  int& count = openCounts()[&file];
  if (count == 0 && !openNow(file, mayCreate, silent, access)) return false;
  ++count;
  return true;
}

void CloseFile(files::File& file) {
  auto it = openCounts().find(&file);
  if (it == openCounts().end() || it->second == 0) return;
  if (--it->second == 0) file.close();
}

int OpenCount(const files::File& file) {
  auto it = openCounts().find(&file);
  return it == openCounts().end() ? 0 : it->second;
}

QString CrashMarker() {
  return settings::read(settings::systemFile(), "kvx98", "BadFile");
}

void SetCrashMarker(const QString& fileName) {
  settings::write(settings::systemFile(), "kvx98", "BadFile", fileName);
}
