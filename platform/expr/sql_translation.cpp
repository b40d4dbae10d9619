#include "platform/expr/sql_translation.h"

#include <QStringList>

#include "platform/files/sql_functions.h"

namespace expr::detail {
namespace {

QString quotedText(const QString& text) {
  QString q = text;
  q.replace('\'', "''");
  return '\'' + q + '\'';
}

const char* sqlOperator(Op op) {
  switch (op) {
    case Op::Or:
      return "OR";
    case Op::And:
      return "AND";
    case Op::Equal:
      return "=";
    case Op::NotEqual:
      return "<>";
    case Op::Less:
      return "<";
    case Op::Greater:
      return ">";
    case Op::LessOrEqual:
      return "<=";
    case Op::GreaterOrEqual:
      return ">=";
    case Op::Add:
      return "+";
    case Op::Subtract:
      return "-";
    case Op::Multiply:
      return "*";
    default:
      return "";
  }
}

// Parameters are collected while the SQL is written left to right, so every operand is written into a
// local before the next one: the order of evaluation inside one C++ expression is not fixed.
class Translator {
 public:
  explicit Translator(const ColumnResolver& resolve) : resolve_(resolve) {}

  std::optional<SqlFilter> run(const Node& root) {
    SqlFilter out;
    out.where = condition(root);
    if (failed_) return std::nullopt;
    out.parameters = std::move(parameters_);
    return out;
  }

 private:
  // The node as an SQL value of its own kind, in parentheses or otherwise self-contained.
  QString value(const Node& n) {
    switch (n.op) {
      case Op::Literal:
        if (n.isText) return quotedText(n.literal.toText());
        if (n.literal.kind() == Value::Kind::Whole) return QString::number(n.literal.toWhole());
        return "kvx_number(" + quotedText(n.source) + ")";
      case Op::Name:
        return name(n);
      case Op::Not: {
        const QString operand = condition(*n.operands[0]);
        return "(NOT " + operand + ")";
      }
      case Op::Or:
      case Op::And: {
        const QString left = condition(*n.operands[0]);
        const QString right = condition(*n.operands[1]);
        return "(" + left + " " + sqlOperator(n.op) + " " + right + ")";
      }
      case Op::Equal:
      case Op::NotEqual:
      case Op::Less:
      case Op::Greater:
      case Op::LessOrEqual:
      case Op::GreaterOrEqual:
        return comparison(n);
      case Op::Concat: {
        const QString left = text(*n.operands[0]);
        const QString right = text(*n.operands[1]);
        return "(" + left + " || " + right + ")";
      }
      case Op::Add:
      case Op::Subtract:
      case Op::Multiply: {
        const QString left = number(*n.operands[0]);
        const QString right = number(*n.operands[1]);
        return "(" + left + " " + sqlOperator(n.op) + " " + right + ")";
      }
      case Op::Negate: {
        const QString operand = number(*n.operands[0]);
        return "(- " + operand + ")";
      }
      case Op::Call: {
        // The SQL functions convert their arguments as the evaluator's functions do.
        QStringList arguments;
        for (const auto& a : n.operands)
          arguments << value(*a);
        return QString("%1(%2)").arg(functionInfo(n.function).sqlName, arguments.join(", "));
      }
      case Op::Divide:
      case Op::Modulo:
        break;
    }
    failed_ = true;
    return QString();
  }

  QString name(const Node& n) {
    const Binding& b = n.binding;
    if (!b.field) {
      const QVariant v = b.value();
      parameters_.push_back(b.isText ? QVariant(v.toString()) : QVariant(qlonglong(v.toLongLong())));
      return "?";
    }
    const std::optional<QString> column = resolve_(*b.field);
    if (!column) {
      failed_ = true;
      return QString();
    }
    return "(" + *column + ")";
  }

  QString comparison(const Node& n) {
    const Node& a = *n.operands[0];
    const Node& b = *n.operands[1];
    const char* op = sqlOperator(n.op);
    if (a.isText && b.isText) {
      // Both sides, so that no explicit collation inside a resolved column can win over it.
      const QString collate = QString(" COLLATE ") + files::kExactCollationName;
      const QString left = value(a);
      const QString right = value(b);
      return "(" + left + collate + " " + op + " " + right + collate + ")";
    }
    const QString left = number(a);
    const QString right = number(b);
    return "(" + left + " " + op + " " + right + ")";
  }

  QString number(const Node& n) {
    const QString v = value(n);
    return n.isText ? "kvx_number(" + v + ")" : v;
  }

  QString text(const Node& n) {
    const QString v = value(n);
    return n.isText ? v : "kvx_text(" + v + ")";
  }

  // The node as a truth value: comparisons and logic already give 1 or 0.
  QString condition(const Node& n) {
    if (isCondition(n.op)) return value(n);
    const QString v = value(n);
    return n.isText ? "(kvx_clip(" + v + ") <> '')" : "(" + v + " <> 0)";
  }

  const ColumnResolver& resolve_;
  std::vector<QVariant> parameters_;
  bool failed_ = false;
};

}  // namespace

std::optional<SqlFilter> translate(const Node& root, const ColumnResolver& resolve) {
  return Translator(resolve).run(root);
}

}  // namespace expr::detail
