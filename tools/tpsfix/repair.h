// Repairing one data file of the program.
//
// The damaged file is never changed: the repaired file is built beside it in the layout the program
// declares for it (see known_files.h), filled with every sound record that can be read (through
// SQLite first, then straight from the pages, see page_scan.h), its keys built anew and unique keys
// checked again; only then does the original step aside (renamed "<name>.damaged.tps", its journal
// with it) and the result take its name. A file that is not damaged is left alone.
//
// Which file it is comes from its name ("kvxdata.tps" is the songs file) or, for a file under another
// name, from the example file. A file, or an example, that says it holds another file's records is
// refused and nothing is changed: repairing it into this file's layout would keep none of them.
//
// A salvaged record with garbage in it (row_check.h) is "recovered with damage": it is left out of
// the repaired file, which only ever holds records the program could have written, and listed by its
// position with what is wrong with it; the original keeps it as it was.
#pragma once

#include <QString>
#include <vector>

namespace tpsfix {

enum class Outcome { Sound, Repaired, InUse, Refused, Failed };

struct DamagedRecord {
  qint64 position = 0;
  QString reason;  // see row_check.h
};

struct Report {
  Outcome outcome = Outcome::Failed;
  qint64 recovered = 0;                // records in the repaired file
  qint64 duplicates = 0;               // sound records left out because a unique key already held their value
  std::vector<DamagedRecord> damaged;  // recovered with damage, left out, by position
  qint64 expected = -1;                // records the file said it held, when that could still be read
  QString keptAs;                      // where the original now is
  QString text;                        // what happened, for the user; one line per damaged record
};

// `examplePath` is empty when no example is given.
Report repair(const QString& dataPath, const QString& examplePath);

}  // namespace tpsfix
