// Computes a parsed filter with the current values of its names (internal to platform/expr).
#pragma once

#include "platform/expr/node.h"
#include "platform/expr/value.h"

namespace expr::detail {

Value evaluate(const Node& n);

}  // namespace expr::detail
