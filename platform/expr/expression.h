// Filter expressions: the conditions by which views and reports choose their records.
//
//   expr::Bindings names(&expr::programBindings());
//   names.bind(songs.record());
//   QString error;
//   auto filter = expr::parse("UPPER(MUS:Artist) = 'ÄRZTE' AND MUS:Year >= 1990", names, &error);
//   if (filter && filter->isTrue()) ...
//
// The language. Names are letters, digits, '_' and ':' ("MUS:Artist", "BRW1::Sort3:Reset:MED:Media");
// texts are quoted in single quotes, a quote doubled inside ('Rock ''n'' Roll'); numbers are whole
// (12) or decimal (3.5). Operators from the loosest to the tightest: OR; AND; NOT or ~ (prefix); the
// comparisons = <> ~= < > <= =< >= =>; & (joins texts); + -; * / % (modulus); - (prefix). Functions:
// UPPER(s), LOWER(s), CLIP(s), SUB(s, start, length), INSTRING(sub, s [, step [, start]]), INT(n),
// LEFT(s [, length]), LEN(s), ABS(n). Keywords, names and functions are matched without regard to case.
//
// What it means. Values are texts or numbers, and every part of a filter is known to give one or the
// other. Two texts compare exactly: by code point, case-sensitively, trailing spaces ignored; any
// other comparison is numeric, a text read as its leading number ('12abc' is 12). A number is true
// when it is not zero, a text when it is not blank; comparisons, AND, OR and NOT give 1 or 0.
// + - * % compute with numbers, / divides with decimals (anything divided by 0 is 0), & writes
// numbers as text and joins. The text and number rules are those of files/text_functions.h.
//
// Running in SQL. toSql() gives the same condition as a WHERE clause for SQLite connections that have
// the functions of files/sql_functions.h, when every part of the filter can be written there exactly.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/expr/bindings.h"

namespace expr {

namespace detail {
struct Node;
}

struct SqlFilter {
  QString where;                     // an SQL condition with ? placeholders
  std::vector<QVariant> parameters;  // their values in order: QString or qlonglong
};

// The SQL expression that stands for a record field in the statement the filter goes into (a column
// name, maybe qualified, or a subquery), or nullopt when the field cannot be reached there. It must
// give the field's value as the buffer would hold it, never NULL.
using ColumnResolver = std::function<std::optional<QString>(const files::Field&)>;

class Expression {
 public:
  // The value with the bound fields' and variables' current values: a QString, a qlonglong or a
  // double.
  QVariant evaluate() const;
  bool isTrue() const;
  // Whether the filter gives a text (otherwise a number).
  bool isText() const;
  // The filter as it was written.
  const QString& text() const { return text_; }

  // The filter as an SQL condition. Fields of records are asked of `resolve`; program variables
  // become parameters holding their current values. Nullopt when the whole filter cannot be written
  // in SQL exactly (a field `resolve` cannot reach, or / or %): it must then be evaluated record by
  // record.
  std::optional<SqlFilter> toSql(const ColumnResolver& resolve) const;

 private:
  friend std::optional<Expression> parse(const QString& text, const Bindings& bindings, QString* error);
  Expression(const QString& text, std::shared_ptr<const detail::Node> root);

  QString text_;
  std::shared_ptr<const detail::Node> root_;
};

// The filter written in `text` over the names in `bindings`. Nullopt, with `error` (when given) naming
// the problem and its position, for a text that does not parse, that uses a name not bound or that
// calls a function with the wrong number of arguments; also for a blank text, which callers take as
// no filter at all.
std::optional<Expression> parse(const QString& text, const Bindings& bindings, QString* error = nullptr);

}  // namespace expr
