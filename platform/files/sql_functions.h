// The filter functions and the exact collation inside SQLite, so that a filter translated to SQL
// selects what the program's own evaluation selects (see text_functions.h).
//
// Scalar functions, all deterministic: kvx_upper(x), kvx_lower(x), kvx_clip(x), kvx_len(x),
// kvx_sub(s, start, length), kvx_instring(sub, s [, step [, start]]), kvx_left(s [, length]),
// kvx_int(x), kvx_abs(x), and the two conversions kvx_number(x) (a text read as text_functions reads
// it; numbers unchanged) and kvx_text(x) (numbers written as text_functions writes them; texts
// unchanged). Every argument is converted to what the function wants the same way: NULL is '' or 0, a
// number given for a text is written by kvx_text's rule, a text given for a number is read by
// kvx_number's, and whole-number arguments are truncated toward zero.
//
// The collation KVXEXACT orders texts by code point, case-sensitively, ignoring trailing spaces.
#pragma once

struct sqlite3;

namespace files {

inline constexpr const char* kExactCollationName = "KVXEXACT";

// Registers the functions and the collation on `db`; returns SQLite's result code (the first failure).
int registerSqlFunctions(sqlite3* db);

}  // namespace files
