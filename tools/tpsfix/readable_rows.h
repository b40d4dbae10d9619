// Every record SQLite can still reach in a damaged file, read through its own tree of pages.
#pragma once

#include <QVariant>
#include <map>
#include <vector>

#include "tools/tpsfix/connection.h"
#include "tools/tpsfix/row_check.h"

namespace tpsfix {

// The records by row id, each with one value per column as row_check.h describes them. Columns are
// taken by name, so a file of an older layout gives what the layouts share (and the declared
// default for the rest). Broken stretches of the table are stepped over, up to `highestRowid` (the
// highest row id known to exist; 0 when none is known).
std::map<qint64, std::vector<QVariant>> readableRows(Connection& damaged, const std::vector<Column>& columns,
                                                     qint64 highestRowid);

}  // namespace tpsfix
