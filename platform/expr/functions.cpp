#include "platform/expr/functions.h"

#include "platform/files/text_functions.h"

namespace expr::detail {
namespace {

constexpr FunctionInfo kFunctions[] = {
    {Function::Upper, "UPPER", "kvx_upper", 1, 1, true},
    {Function::Lower, "LOWER", "kvx_lower", 1, 1, true},
    {Function::Clip, "CLIP", "kvx_clip", 1, 1, true},
    {Function::Sub, "SUB", "kvx_sub", 3, 3, true},
    {Function::InString, "INSTRING", "kvx_instring", 2, 4, false},
    {Function::Int, "INT", "kvx_int", 1, 1, false},
    {Function::Left, "LEFT", "kvx_left", 1, 2, true},
    {Function::Len, "LEN", "kvx_len", 1, 1, false},
    {Function::Abs, "ABS", "kvx_abs", 1, 1, false},
};

}  // namespace

const FunctionInfo* findFunction(const QString& name) {
  for (const FunctionInfo& f : kFunctions)
    if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) return &f;
  return nullptr;
}

const FunctionInfo& functionInfo(Function f) {
  for (const FunctionInfo& info : kFunctions)
    if (info.function == f) return info;
  return kFunctions[0];
}

Value call(Function f, const std::vector<Value>& a) {
  const auto optional = [&a](size_t i, qint64 otherwise) {
    return i < a.size() ? a[i].toWhole() : otherwise;
  };
  switch (f) {
    case Function::Upper:
      return Value::text(files::upperText(a[0].toText()));
    case Function::Lower:
      return Value::text(files::lowerText(a[0].toText()));
    case Function::Clip:
      return Value::text(files::clipText(a[0].toText()));
    case Function::Sub:
      return Value::text(files::subText(a[0].toText(), a[1].toWhole(), a[2].toWhole()));
    case Function::InString:
      return Value::whole(files::inString(a[0].toText(), a[1].toText(), optional(2, 1), optional(3, 1)));
    case Function::Int:
      return Value::whole(a[0].toWhole());
    case Function::Left:
      return Value::text(files::leftText(a[0].toText(), optional(1, -1)));
    case Function::Len:
      return Value::whole(files::lengthOfText(a[0].toText()));
    case Function::Abs:
      return Value::number(files::absNumber(a[0].toNumber().toVariant()));
  }
  return Value::whole(0);
}

}  // namespace expr::detail
