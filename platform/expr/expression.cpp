#include "platform/expr/expression.h"

#include "platform/expr/evaluator.h"
#include "platform/expr/node.h"
#include "platform/expr/sql_translation.h"

namespace expr {

Expression::Expression(const QString& text, std::shared_ptr<const detail::Node> root)
    : text_(text), root_(std::move(root)) {}

QVariant Expression::evaluate() const {
  return detail::evaluate(*root_).toVariant();
}

bool Expression::isTrue() const {
  return detail::evaluate(*root_).isTrue();
}

bool Expression::isText() const {
  return root_->isText;
}

std::optional<SqlFilter> Expression::toSql(const ColumnResolver& resolve) const {
  return detail::translate(*root_, resolve);
}

}  // namespace expr
