// Recursive descent, one function per precedence level, from OR (loosest) down to the primaries.
#include <optional>

#include "platform/expr/expression.h"
#include "platform/expr/lexer.h"
#include "platform/expr/node.h"
#include "platform/files/text_functions.h"

namespace expr {
namespace {

using detail::Node;
using detail::Op;
using detail::Token;
using detail::Value;
using NodePtr = std::unique_ptr<Node>;

NodePtr makeNode(Op op, bool isText, std::vector<NodePtr> operands = {}) {
  auto n = std::make_unique<Node>();
  n->op = op;
  n->isText = isText;
  n->operands = std::move(operands);
  return n;
}

NodePtr binary(Op op, bool isText, NodePtr left, NodePtr right) {
  std::vector<NodePtr> operands;
  operands.push_back(std::move(left));
  operands.push_back(std::move(right));
  return makeNode(op, isText, std::move(operands));
}

class Parser {
 public:
  Parser(std::vector<Token> tokens, const Bindings& bindings)
      : tokens_(std::move(tokens)), bindings_(bindings) {}

  NodePtr parseAll() {
    NodePtr root = orExpression();
    if (root && current().kind != Token::Kind::End) {
      if (isSymbol(")")) return fail(QString("The ')' at position %1 closes no '('").arg(current().position));
      return fail(QString("Unexpected %1 at position %2").arg(describe(current())).arg(current().position));
    }
    return root;
  }
  const QString& error() const { return error_; }

 private:
  const Token& current() const { return tokens_[next_]; }
  void advance() {
    if (current().kind != Token::Kind::End) ++next_;
  }
  bool isSymbol(const char* symbol) const {
    return current().kind == Token::Kind::Symbol && current().text == QLatin1String(symbol);
  }
  bool isKeyword(const char* word) const {
    return current().kind == Token::Kind::Name &&
           current().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
  }
  NodePtr fail(const QString& message) {
    if (error_.isEmpty()) error_ = message;
    return nullptr;
  }
  static QString describe(const Token& t) {
    switch (t.kind) {
      case Token::Kind::Name:
        return t.text;
      case Token::Kind::Number:
        return "number " + t.text;
      case Token::Kind::Text:
        return "text '" + t.text + "'";
      case Token::Kind::Symbol:
        return "'" + t.text + "'";
      case Token::Kind::End:
        return "end of the filter";
    }
    return QString();
  }

  // One level of left-associative operators: operands read by `next`, joined by what `opHere` finds.
  NodePtr leftAssociative(NodePtr (Parser::*next)(), std::optional<Op> (Parser::*opHere)() const,
                          bool isText = false) {
    NodePtr left = (this->*next)();
    while (left) {
      const std::optional<Op> op = (this->*opHere)();
      if (!op) break;
      advance();
      NodePtr right = (this->*next)();
      if (!right) return nullptr;
      left = binary(*op, isText, std::move(left), std::move(right));
    }
    return left;
  }

  // A prefix operator applied to what `operand` reads.
  NodePtr prefixed(Op op, NodePtr (Parser::*operand)()) {
    advance();
    NodePtr inner = (this->*operand)();
    if (!inner) return nullptr;
    std::vector<NodePtr> operands;
    operands.push_back(std::move(inner));
    return makeNode(op, false, std::move(operands));
  }

  std::optional<Op> orOp() const { return isKeyword("OR") ? std::optional(Op::Or) : std::nullopt; }
  std::optional<Op> andOp() const { return isKeyword("AND") ? std::optional(Op::And) : std::nullopt; }
  std::optional<Op> concatOp() const { return isSymbol("&") ? std::optional(Op::Concat) : std::nullopt; }
  std::optional<Op> additiveOp() const {
    if (isSymbol("+")) return Op::Add;
    if (isSymbol("-")) return Op::Subtract;
    return std::nullopt;
  }
  std::optional<Op> multiplicativeOp() const {
    if (isSymbol("*")) return Op::Multiply;
    if (isSymbol("/")) return Op::Divide;
    if (isSymbol("%")) return Op::Modulo;
    return std::nullopt;
  }
  std::optional<Op> comparisonOp() const {
    if (current().kind != Token::Kind::Symbol) return std::nullopt;
    const QString& s = current().text;
    if (s == "=") return Op::Equal;
    if (s == "<>" || s == "~=") return Op::NotEqual;
    if (s == "<") return Op::Less;
    if (s == ">") return Op::Greater;
    if (s == "<=" || s == "=<") return Op::LessOrEqual;
    if (s == ">=" || s == "=>") return Op::GreaterOrEqual;
    return std::nullopt;
  }

  NodePtr orExpression() { return leftAssociative(&Parser::andExpression, &Parser::orOp); }
  NodePtr andExpression() { return leftAssociative(&Parser::notExpression, &Parser::andOp); }
  NodePtr notExpression() {
    if (isKeyword("NOT") || isSymbol("~")) return prefixed(Op::Not, &Parser::notExpression);
    return comparison();
  }
  NodePtr comparison() { return leftAssociative(&Parser::concatenation, &Parser::comparisonOp); }
  NodePtr concatenation() { return leftAssociative(&Parser::additive, &Parser::concatOp, true); }
  NodePtr additive() { return leftAssociative(&Parser::multiplicative, &Parser::additiveOp); }
  NodePtr multiplicative() { return leftAssociative(&Parser::unary, &Parser::multiplicativeOp); }
  NodePtr unary() {
    if (isSymbol("-")) return prefixed(Op::Negate, &Parser::unary);
    return primary();
  }

  NodePtr primary() {
    const Token t = current();
    switch (t.kind) {
      case Token::Kind::Number: {
        advance();
        NodePtr n = makeNode(Op::Literal, false);
        n->literal = Value::number(files::numberValueOfText(t.text));
        n->source = t.text;
        return n;
      }
      case Token::Kind::Text: {
        advance();
        NodePtr n = makeNode(Op::Literal, true);
        n->literal = Value::text(t.text);
        return n;
      }
      case Token::Kind::Name:
        if (isKeyword("AND") || isKeyword("OR") || isKeyword("NOT")) break;
        advance();
        return isSymbol("(") ? functionCall(t) : name(t);
      case Token::Kind::Symbol:
        if (t.text == "(") return parenthesized();
        break;
      case Token::Kind::End:
        return fail("The filter ends where a value is expected");
    }
    return fail(QString("A value is expected at position %1, not %2").arg(t.position).arg(describe(t)));
  }

  NodePtr parenthesized() {
    const int open = current().position;
    advance();
    NodePtr inner = orExpression();
    if (!inner) return nullptr;
    if (!isSymbol(")"))
      return fail(QString("The '(' at position %1 is not closed: %2 at position %3")
                      .arg(open)
                      .arg(describe(current()))
                      .arg(current().position));
    advance();
    return inner;
  }

  NodePtr name(const Token& t) {
    const Binding* b = bindings_.find(t.text);
    if (!b) return fail(QString("Unknown name %1 at position %2").arg(t.text).arg(t.position));
    NodePtr n = makeNode(Op::Name, b->isText);
    n->binding = *b;
    return n;
  }

  NodePtr functionCall(const Token& t) {
    const detail::FunctionInfo* f = detail::findFunction(t.text);
    if (!f) return fail(QString("Unknown function %1 at position %2").arg(t.text).arg(t.position));
    const int open = current().position;
    advance();
    std::vector<NodePtr> arguments;
    if (!isSymbol(")")) {
      while (true) {
        NodePtr a = orExpression();
        if (!a) return nullptr;
        arguments.push_back(std::move(a));
        if (!isSymbol(",")) break;
        advance();
      }
    }
    if (!isSymbol(")"))
      return fail(QString("The '(' at position %1 is not closed: %2 at position %3")
                      .arg(open)
                      .arg(describe(current()))
                      .arg(current().position));
    advance();
    const int count = int(arguments.size());
    if (count < f->minArguments || count > f->maxArguments) {
      const QString wanted = f->minArguments == f->maxArguments
                                 ? QString::number(f->minArguments)
                                 : QString("%1 to %2").arg(f->minArguments).arg(f->maxArguments);
      return fail(QString("%1 at position %2 takes %3 argument(s), not %4")
                      .arg(f->name)
                      .arg(t.position)
                      .arg(wanted)
                      .arg(count));
    }
    NodePtr n = makeNode(Op::Call, f->givesText, std::move(arguments));
    n->function = f->function;
    return n;
  }

  std::vector<Token> tokens_;
  const Bindings& bindings_;
  size_t next_ = 0;
  QString error_;
};

}  // namespace

std::optional<Expression> parse(const QString& text, const Bindings& bindings, QString* error) {
  QString message;
  std::vector<Token> tokens;
  if (text.trimmed().isEmpty()) {
    message = "The filter is empty";
  } else if (detail::tokenize(text, &tokens, &message)) {
    Parser parser(std::move(tokens), bindings);
    if (NodePtr root = parser.parseAll()) return Expression(text, std::move(root));
    message = parser.error();
  }
  if (error) *error = message;
  return std::nullopt;
}

}  // namespace expr
