// The program's data files as the repair knows them: the very declarations the program opens
// (storage/records.h), so a file is repaired to the layout the program expects without an example.
#pragma once

#include <QString>

#include "platform/files/file.h"

namespace tpsfix {

// The file stored under this on-disk name ("kvxdata", without extension), without regard to case.
const files::File* fileNamed(const QString& name);
// The file of this label ("Cantorix"), without regard to case.
const files::File* fileLabelled(const QString& label);

}  // namespace tpsfix
