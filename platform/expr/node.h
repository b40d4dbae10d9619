// The parsed form of a filter (internal to platform/expr): a tree whose every node knows whether it
// gives a text or a number before anything is evaluated.
#pragma once

#include <memory>
#include <vector>

#include "platform/expr/bindings.h"
#include "platform/expr/functions.h"
#include "platform/expr/value.h"

namespace expr::detail {

enum class Op {
  Literal,
  Name,
  Or,
  And,
  Not,
  Equal,
  NotEqual,
  Less,
  Greater,
  LessOrEqual,
  GreaterOrEqual,
  Concat,
  Add,
  Subtract,
  Multiply,
  Divide,
  Modulo,
  Negate,
  Call,
};

struct Node {
  Op op = Op::Literal;
  bool isText = false;
  Value literal;        // Literal
  QString source;       // Literal: the number as written
  Binding binding;      // Name: a copy, so that unbinding later leaves parsed filters intact
  Function function{};  // Call
  std::vector<std::unique_ptr<Node>> operands;
};

// Comparisons and the logical operators give 1 or 0.
inline bool isCondition(Op op) {
  return op >= Op::Or && op <= Op::GreaterOrEqual;
}
inline bool isComparison(Op op) {
  return op >= Op::Equal && op <= Op::GreaterOrEqual;
}

}  // namespace expr::detail
