// The collation every key and every text column of the data files uses.
//
// Texts compare character by character by their case-folded code points ("Ärzte" equals "ärzte";
// simple folding, one character for one, so "Straße" and "Strasse" stay different), with trailing
// spaces ignored. Nothing is allocated: the comparison runs inside every index search. Every program that
// opens the data files must register it under kCollationName on its connection before touching an index, or
// SQLite refuses the schema; the indexes' order depends on it never changing.
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
