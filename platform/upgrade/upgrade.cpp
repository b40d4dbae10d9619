#include "platform/upgrade/upgrade.h"

#include <QFile>
#include <QFileInfo>
#include <vector>

namespace upgrade {
namespace {

struct Announcement {
  QString prefix;
  QString label;
  files::File* file;
  int version;
};

QString driverExtension;
std::vector<Announcement> announced;
files::Status lastStatus;

// Aliases share their data file, so a file is found by its name on disk.
const Announcement* find(const files::File& f) {
  for (const Announcement& a : announced)
    if (a.file->name().compare(f.name(), Qt::CaseInsensitive) == 0) return &a;
  return nullptr;
}

// Whether the file on disk was made for the announced file of its name. A data file of another
// label under that name holds another file's records: converting it would keep none of them.
bool madeFor(const files::File::OnDisk& stored, const Announcement& a) {
  return stored.label.compare(a.label, Qt::CaseInsensitive) == 0;
}

}  // namespace

void ds_AddDriver(const QString& extension, files::File& /*sample*/) {
  driverExtension = extension;
}

void ds_IgnoreDriver(const QString& /*option*/, int /*value*/) {}

void ds_UsingFile(const QString& prefix, const QString& label, files::File& file, int version) {
  std::erase_if(announced, [&](const Announcement& a) { return a.file == &file; });
  announced.push_back({prefix, label, &file, version});
}

void ds_UpGradeFile(files::File& file) {
  const Announcement* a = find(file);
  if (!a || !QFileInfo::exists(file.path())) return;
  files::File::OnDisk stored;
  if (!file.onDisk(&stored) || !stored.ours || !madeFor(stored, *a)) return;
  if (stored.version > a->version || stored.layout == a->file->layout()) return;
  lastStatus = a->file->convert();
}

bool holdsAnotherFile(files::File& file) {
  const Announcement* a = find(file);
  files::File::OnDisk stored;
  return a && file.onDisk(&stored) && stored.ours && !madeFor(stored, *a);
}

QString ds_MakeTPE(files::File& file) {
  const Announcement* a = find(file);
  if (!a) return "1";
  if (!driverExtension.isEmpty() && !file.path().endsWith("." + driverExtension, Qt::CaseInsensitive))
    return "2";
  QString example = file.path();
  example.chop(QFileInfo(example).suffix().size());
  example += "tpe";
  // An example file is never opened by the program, so replacing an old one is safe.
  QFile::remove(example);
  lastStatus = a->file->createAt(example);
  return lastStatus ? "0" : "3";
}

files::Status lastError() {
  return lastStatus;
}

}  // namespace upgrade
