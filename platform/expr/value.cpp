#include "platform/expr/value.h"

#include <limits>

#include "platform/files/text_functions.h"

namespace expr::detail {
namespace {

// Exact, like SQLite's own comparison of an integer with a real.
int compareWholeReal(qint64 i, double r) {
  if (r < -9223372036854775808.0) return 1;
  if (r >= 9223372036854775808.0) return -1;
  const qint64 y = static_cast<qint64>(r);
  if (i != y) return i < y ? -1 : 1;
  // Equal whole parts: what is left is the fraction of r.
  const double s = double(i);
  return s < r ? -1 : s > r ? 1 : 0;
}

// Whole numbers where the result fits, doubles from the first overflow on.
template <typename WholeOp, typename RealOp>
Value arithmetic(const Value& a, const Value& b, WholeOp wholeOp, RealOp realOp) {
  const Value x = a.toNumber(), y = b.toNumber();
  if (x.kind() == Value::Kind::Whole && y.kind() == Value::Kind::Whole) {
    qint64 out;
    if (!wholeOp(x.toWhole(), y.toWhole(), &out)) return Value::whole(out);
  }
  return Value::real(realOp(x.toReal(), y.toReal()));
}

}  // namespace

Value Value::text(const QString& t) {
  Value v;
  v.kind_ = Kind::Text;
  v.text_ = t;
  return v;
}

Value Value::whole(qint64 n) {
  Value v;
  v.kind_ = Kind::Whole;
  v.whole_ = n;
  return v;
}

Value Value::real(double d) {
  Value v;
  v.kind_ = Kind::Real;
  v.real_ = d;
  return v;
}

Value Value::number(const QVariant& n) {
  return n.typeId() == QMetaType::Double ? real(n.toDouble()) : whole(n.toLongLong());
}

Value Value::fromVariant(const QVariant& v, bool isText) {
  return isText ? text(v.toString()) : number(v);
}

QString Value::toText() const {
  switch (kind_) {
    case Kind::Text:
      return text_;
    case Kind::Whole:
      return files::textOfNumber(whole_);
    case Kind::Real:
      return files::textOfNumber(real_);
  }
  return QString();
}

Value Value::toNumber() const {
  return isText() ? number(files::numberValueOfText(text_)) : *this;
}

qint64 Value::toWhole() const {
  const Value n = toNumber();
  return n.kind_ == Kind::Real ? files::intValue(n.real_) : n.whole_;
}

double Value::toReal() const {
  const Value n = toNumber();
  return n.kind_ == Kind::Real ? n.real_ : double(n.whole_);
}

bool Value::isTrue() const {
  switch (kind_) {
    case Kind::Text:
      return !files::clipText(text_).isEmpty();
    case Kind::Whole:
      return whole_ != 0;
    case Kind::Real:
      return real_ != 0;
  }
  return false;
}

QVariant Value::toVariant() const {
  switch (kind_) {
    case Kind::Text:
      return text_;
    case Kind::Whole:
      return qlonglong(whole_);
    case Kind::Real:
      return real_;
  }
  return QVariant();
}

int compare(const Value& a, const Value& b) {
  if (a.isText() && b.isText()) return files::compareExact(a.toText(), b.toText());
  const Value x = a.toNumber(), y = b.toNumber();
  const bool wholeX = x.kind() == Value::Kind::Whole, wholeY = y.kind() == Value::Kind::Whole;
  if (wholeX && wholeY) return x.toWhole() < y.toWhole() ? -1 : x.toWhole() > y.toWhole() ? 1 : 0;
  if (wholeX) return compareWholeReal(x.toWhole(), y.toReal());
  if (wholeY) return -compareWholeReal(y.toWhole(), x.toReal());
  return x.toReal() < y.toReal() ? -1 : x.toReal() > y.toReal() ? 1 : 0;
}

Value add(const Value& a, const Value& b) {
  return arithmetic(
      a, b, [](qint64 x, qint64 y, qint64* out) { return __builtin_add_overflow(x, y, out); },
      [](double x, double y) { return x + y; });
}

Value subtract(const Value& a, const Value& b) {
  return arithmetic(
      a, b, [](qint64 x, qint64 y, qint64* out) { return __builtin_sub_overflow(x, y, out); },
      [](double x, double y) { return x - y; });
}

Value multiply(const Value& a, const Value& b) {
  return arithmetic(
      a, b, [](qint64 x, qint64 y, qint64* out) { return __builtin_mul_overflow(x, y, out); },
      [](double x, double y) { return x * y; });
}

Value divide(const Value& a, const Value& b) {
  const double divisor = b.toReal();
  if (divisor == 0) return Value::whole(0);
  return Value::real(a.toReal() / divisor);
}

Value modulo(const Value& a, const Value& b) {
  const qint64 x = a.toWhole(), y = b.toWhole();
  // -1 would overflow for the smallest qint64, and every remainder by it is 0 anyway.
  if (y == 0 || y == -1) return Value::whole(0);
  return Value::whole(x % y);
}

Value negate(const Value& a) {
  // As 0 - a, the way SQLite negates: the smallest qint64 becomes a double, and -0.0 never appears.
  return subtract(Value::whole(0), a);
}

}  // namespace expr::detail
