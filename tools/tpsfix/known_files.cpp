#include "tools/tpsfix/known_files.h"

#include "storage/records.h"

namespace tpsfix {

const files::File* fileNamed(const QString& name) {
  for (const files::File* f : databaseFiles())
    if (f->name().compare(name, Qt::CaseInsensitive) == 0) return f;
  return nullptr;
}

const files::File* fileLabelled(const QString& label) {
  for (const files::File* f : databaseFiles())
    if (f->label().compare(label, Qt::CaseInsensitive) == 0) return f;
  return nullptr;
}

}  // namespace tpsfix
