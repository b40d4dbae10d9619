#include "platform/expr/evaluator.h"

namespace expr::detail {
namespace {

Value truth(bool b) {
  return Value::whole(b ? 1 : 0);
}

bool compared(Op op, int c) {
  switch (op) {
    case Op::Equal:
      return c == 0;
    case Op::NotEqual:
      return c != 0;
    case Op::Less:
      return c < 0;
    case Op::Greater:
      return c > 0;
    case Op::LessOrEqual:
      return c <= 0;
    default:
      return c >= 0;
  }
}

}  // namespace

Value evaluate(const Node& n) {
  const auto operand = [&n](size_t i) { return evaluate(*n.operands[i]); };
  switch (n.op) {
    case Op::Literal:
      return n.literal;
    case Op::Name:
      return Value::fromVariant(n.binding.value(), n.binding.isText);
    case Op::Or:
      return truth(operand(0).isTrue() || operand(1).isTrue());
    case Op::And:
      return truth(operand(0).isTrue() && operand(1).isTrue());
    case Op::Not:
      return truth(!operand(0).isTrue());
    case Op::Equal:
    case Op::NotEqual:
    case Op::Less:
    case Op::Greater:
    case Op::LessOrEqual:
    case Op::GreaterOrEqual: {
      const Value left = operand(0);
      return truth(compared(n.op, compare(left, operand(1))));
    }
    case Op::Concat: {
      const Value left = operand(0);
      return Value::text(left.toText() + operand(1).toText());
    }
    case Op::Add:
      return add(operand(0), operand(1));
    case Op::Subtract:
      return subtract(operand(0), operand(1));
    case Op::Multiply:
      return multiply(operand(0), operand(1));
    case Op::Divide:
      return divide(operand(0), operand(1));
    case Op::Modulo:
      return modulo(operand(0), operand(1));
    case Op::Negate:
      return negate(operand(0));
    case Op::Call: {
      std::vector<Value> arguments;
      for (const auto& a : n.operands)
        arguments.push_back(evaluate(*a));
      return call(n.function, arguments);
    }
  }
  return Value::whole(0);
}

}  // namespace expr::detail
