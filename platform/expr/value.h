// A filter's run-time value and the operators on it (internal to platform/expr).
//
// A value is a text, a whole number (exact, qint64) or a double. Whole-number arithmetic that
// overflows continues in doubles, and whole numbers and doubles compare exactly, so that SQLite, which
// computes the same way, gives the same answers when a filter runs as SQL.
#pragma once

#include <QString>
#include <QVariant>

namespace expr::detail {

class Value {
 public:
  enum class Kind { Text, Whole, Real };

  static Value text(const QString& t);
  static Value whole(qint64 n);
  static Value real(double d);
  // A qlonglong or a double.
  static Value number(const QVariant& n);
  static Value fromVariant(const QVariant& v, bool isText);

  Kind kind() const { return kind_; }
  bool isText() const { return kind_ == Kind::Text; }

  QString toText() const;  // numbers written as text_functions writes them
  Value toNumber() const;  // texts read as text_functions reads them
  qint64 toWhole() const;  // truncated toward zero
  double toReal() const;
  // Non-zero numbers and texts that are not blank.
  bool isTrue() const;
  QVariant toVariant() const;

 private:
  Kind kind_ = Kind::Whole;
  QString text_;
  qint64 whole_ = 0;
  double real_ = 0;
};

// Texts by compareExact when both are texts, otherwise the numbers: negative, zero or positive.
int compare(const Value& a, const Value& b);

Value add(const Value& a, const Value& b);
Value subtract(const Value& a, const Value& b);
Value multiply(const Value& a, const Value& b);
// Always a double; anything divided by zero is 0.
Value divide(const Value& a, const Value& b);
// On the whole parts, with the sign of `a`; modulus 0 gives 0.
Value modulo(const Value& a, const Value& b);
Value negate(const Value& a);

}  // namespace expr::detail
