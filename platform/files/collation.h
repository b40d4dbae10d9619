// The collation every key and every text column of the data files uses.
//
// Texts compare by their Unicode case-folded characters ("Ärzte" equals "ärzte", "Straße" sorts with
// "strasse" only if folding makes them equal), with trailing spaces ignored. ASCII texts take a fast
// path that gives the same order as the full comparison. Every program that opens the data files must
// register it under kCollationName on its connection before touching an index, or SQLite refuses the
// schema; the indexes' order depends on it never changing.
#pragma once

#include <QByteArray>

struct sqlite3;

namespace files {

inline constexpr const char* kCollationName = "KVX";

// Registers the collation on `db`; returns SQLite's result code.
int registerCollation(sqlite3* db);

// The comparison itself, on UTF-8 texts: negative, zero or positive.
int compareText(const char* a, int lengthA, const char* b, int lengthB);

}  // namespace files
