// The functions a filter may call (internal to platform/expr): what the parser checks, the evaluator
// computes and the SQL translation names.
#pragma once

#include <QString>
#include <vector>

#include "platform/expr/value.h"

namespace expr::detail {

enum class Function { Upper, Lower, Clip, Sub, InString, Int, Left, Len, Abs };

struct FunctionInfo {
  Function function;
  const char* name;     // as written in filters
  const char* sqlName;  // the SQL function of sql_functions.h
  int minArguments;
  int maxArguments;
  bool givesText;
};

// Null for a name that is no function; names are matched without regard to case.
const FunctionInfo* findFunction(const QString& name);
const FunctionInfo& functionInfo(Function f);

Value call(Function f, const std::vector<Value>& arguments);

}  // namespace expr::detail
