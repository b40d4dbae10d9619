// Splits a filter's text into tokens (internal to platform/expr).
#pragma once

#include <QString>
#include <vector>

namespace expr::detail {

struct Token {
  enum class Kind { Name, Number, Text, Symbol, End };
  Kind kind = Kind::End;
  QString text;      // the name, the number as written, the text without quotes, or the symbol
  int position = 0;  // 1-based character position in the filter
};

// The tokens, ending with an End token; false with `error` set at the first character that starts no
// token.
bool tokenize(const QString& source, std::vector<Token>* tokens, QString* error);

}  // namespace expr::detail
