// Writes a parsed filter as an SQL condition for SQLite (internal to platform/expr).
//
// Every part is written so that SQLite computes exactly what the evaluator computes: texts compare
// under the exact collation (never a column's own, which ignores case), texts used as numbers go
// through kvx_number and numbers used as texts through kvx_text, and the functions are those of
// files/sql_functions.h. SQLite's own arithmetic already matches the evaluator's (whole numbers,
// doubles on overflow, exact mixed comparisons); decimal literals are read by kvx_number, so that
// they become the very double the parser made of them. / and % are not written: SQLite's division by
// zero and its modulus of doubles differ.
#pragma once

#include <optional>

#include "platform/expr/expression.h"
#include "platform/expr/node.h"

namespace expr::detail {

std::optional<SqlFilter> translate(const Node& root, const ColumnResolver& resolve);

}  // namespace expr::detail
