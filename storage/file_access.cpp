#include "storage/file_access.h"

#include <map>

#include "platform/settings/settings_file.h"
#include "platform/upgrade/upgrade.h"
#include "storage/messages.h"

namespace {

std::map<const files::File*, int>& openCounts() {
  static std::map<const files::File*, int> counts;
  return counts;
}

bool opened(const files::Status& s) {
  return s.ok() || s.code == files::kFileAlreadyOpen;
}

// Opens a file that is not open yet, repairing, upgrading or creating it on the way. The crash
// marker names the file throughout; it is cleared before the paths that deal with a missing, older
// or unreadable file, so that it stays set exactly when the program ends over a damaged key or an
// error nothing here can mend, or dies inside the open.
bool openNow(files::File& f, bool mayCreate, bool silent, files::Access access) {
  const auto fail = [&](int message, const files::Status& error) {
    if (!silent) StandardMessage(message, {.file = f.label(), .error = error});
    return false;
  };
  SetCrashMarker(f.name());
  files::Status s = f.open(access);
  if (s.code == files::kFileLocked) {
    // Another station stopped while holding the file: allow time for its work to be undone, once.
    f.sendOption("Recover=10");
    s = f.open(access);
    f.sendOption("Recover=0");
  }
  if (opened(s)) {
    SetCrashMarker(QString());
    return true;
  }

  if (s.code == files::kFileNotFound) {
    SetCrashMarker(QString());
    upgrade::ds_UpGradeFile(f);
    if (opened(f.open(access))) return true;
    if (!mayCreate) return fail(msg::kFileCreationError, s);
    if (files::Status c = f.create(); !c) return fail(msg::kFileCreationError, c);
    if (files::Status o = f.open(access); !opened(o)) return fail(msg::kCreatedFileOpenError, o);
    return true;
  }

  if (s.code == files::kInvalidKey) {
    if (silent) return false;
    StandardMessage(msg::kInvalidKey, {.file = f.label(), .error = s});  // No ends the program
    if (files::Status r = f.rebuildKeys(); !r) return fail(msg::kKeyRebuildError, r);
    s = f.open(access);
    if (opened(s)) {
      SetCrashMarker(QString());
      return true;
    }
  }

  // Another file's records under this file's name are no older layout of it: the file is unreadable
  // as this one, and no upgrade may turn it into empty records of this file.
  if (s.code == files::kLayoutMismatch && upgrade::holdsAnotherFile(f))
    s = files::Status::error(files::kNotADataFile, "the file holds the records of another file");

  if (s.code == files::kLayoutMismatch) {
    SetCrashMarker(QString());
    upgrade::ds_UpGradeFile(f);
    if (opened(f.open(access))) return true;
    return fail(msg::kInvalidFile, s);
  }

  if (s.code == files::kNotADataFile || s.code == files::kDriverError) {
    SetCrashMarker(QString());
    upgrade::ds_UpGradeFile(f);
    if (opened(f.open(access))) return true;  // otherwise the first reason is the one to show
  }
  // The file is left exactly as it is: nothing here overwrites a file it cannot read.
  return fail(msg::kFileAccessError, s);
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
