// Repairing one data file from its example file.
//
// The damaged file is never changed: the repaired file is built beside it from the example (the
// declared layout, empty), filled with every record that can be read (through SQLite first, then
// straight from the pages, see page_scan.h), its keys built anew and unique keys checked again; only
// then does the original step aside (renamed "<name>.damaged.tps", its journal with it) and the
// result take its name. A file that is not damaged is left alone.
#pragma once

#include <QString>

namespace tpsfix {

enum class Outcome { Sound, Repaired, InUse, Failed };

struct Report {
  Outcome outcome = Outcome::Failed;
  qint64 recovered = 0;   // records in the repaired file
  qint64 duplicates = 0;  // readable records left out because a unique key already held their value
  qint64 expected = -1;   // records the file said it held, when that could still be read
  QString keptAs;         // where the original now is
  QString text;           // what happened, for the user
};

Report repair(const QString& dataPath, const QString& examplePath);

}  // namespace tpsfix
