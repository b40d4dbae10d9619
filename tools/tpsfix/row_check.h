// What a sound record of a file holds, and why a salvaged one cannot be trusted.
//
// Records read back from a damaged file may carry garbage: bytes of a broken page read as text, a
// number from the middle of another value, the zeros that stand in for the part of a record cut off
// at the end of a truncated file. The program itself only ever stores what its declaration allows —
// valid UTF-8 text within the field's width and without NUL characters, numbers within the field's
// range, numbers it assigns itself never below zero, positions and change counters as SQLite and the
// driver keep them — so a record with anything else in it is damaged, whatever else it holds.
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "platform/files/file.h"
#include "tools/tpsfix/page_scan.h"

namespace tpsfix {

// A column of a file's table, in stored order: the position, the change counter, then every field
// with the memos last (see platform/files/layout.h).
struct Column {
  QString name;
  ColumnType type = ColumnType::Integer;
  const files::Field* field = nullptr;  // null for the position and the change counter
  bool numbered = false;                // the program numbers it, from 1
};
std::vector<Column> columnsOf(const files::File& file);

// The first thing wrong with a salvaged record ("MUS:Composer is not valid UTF-8 text"), or an empty
// text when every value is one the program could have written. Values are held as a salvage reads
// them: a number as qlonglong, a text as the QByteArray of its stored bytes, and anything else (a
// NULL, a real, a blob, a text where a number belongs) as an invalid QVariant.
QString damage(const std::vector<Column>& columns, qint64 position, const std::vector<QVariant>& values);

}  // namespace tpsfix
