// Reading records straight from the pages of a damaged data file.
//
// SQLite reaches a record only through the tree of pages above it, so one broken page high in the
// tree hides every record below it even though their own pages are intact. The scan below looks at
// every page of the file instead: each page that is a leaf of a table tree gives up the records it
// holds (following overflow chains for long values), whatever happened to the pages around it.
// Pages on the free list are skipped, so records deleted long ago do not come back.
//
// On-disk format (SQLite 3, all numbers big-endian):
//   file header   bytes 0-15 "SQLite format 3\0", 16-17 page size (1 means 65536), 20 bytes reserved
//                 at the end of each page, 32-35 first free-list trunk page, 36-39 free pages
//   b-tree page   header at offset 0 (100 on page 1): 1 type (0x0D table leaf), 2 first freeblock,
//                 2 cell count, 2 cell content start, 1 fragmented bytes; then 2-byte cell offsets
//   table leaf    cell: varint payload size, varint row id, payload (the part kept on the page),
//                 4-byte first overflow page when the payload does not fit
//   record        varint header size, one varint serial type per column, then the values
//   overflow page 4-byte next overflow page (0 at the end of the chain), then payload bytes
//
// A record part of which lies beyond the end of a truncated file, or whose overflow chain breaks off
// (a page the file does not hold, a chain that runs in a circle), is still decoded, with zeros in
// place of what is missing, and marked: such a record is damaged, and what SQLite reads of it
// carries the same zeros.
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace tpsfix {

enum class ColumnType { RowId, Integer, Text };

enum class Completeness { Whole, CutOff, BrokenChain };

struct ScannedRow {
  qint64 rowid = 0;
  // One per column: the row id column holds the row id, an integer a qlonglong, a text the
  // QByteArray of its stored bytes (not checked here).
  std::vector<QVariant> values;
  Completeness completeness = Completeness::Whole;
};

struct PageScan {
  std::vector<ScannedRow> rows;
  int pages = 0;      // pages the file holds
  int freePages = 0;  // pages on the free list, not looked at
  int leafPages = 0;  // table leaf pages whose records had the expected shape
};

// Scans the file for records of exactly `columns` (the table's columns in stored order). Records
// of any other shape (other tables, keys, noise) are passed over.
PageScan scanPages(const QString& path, const std::vector<ColumnType>& columns);

}  // namespace tpsfix
