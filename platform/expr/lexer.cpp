#include "platform/expr/lexer.h"

namespace expr::detail {
namespace {

bool isDigit(QChar c) {
  return c >= '0' && c <= '9';
}

bool startsName(QChar c) {
  return c.isLetter() || c == '_';
}

bool continuesName(QChar c) {
  return c.isLetterOrNumber() || c == '_' || c == ':';
}

// Two-character symbols first, so that "<=" is not read as "<" and "=".
const char* const kSymbols[] = {"<>", "~=", "<=", "=<", ">=", "=>", "(", ")", ",", "=",
                                "<",  ">",  "~",  "&",  "+",  "-",  "*", "/", "%"};

}  // namespace

bool tokenize(const QString& s, std::vector<Token>* tokens, QString* error) {
  tokens->clear();
  qsizetype i = 0;
  const auto at = [&s](qsizetype k) { return k < s.size() ? s[k] : QChar(); };
  while (true) {
    while (i < s.size() && s[i].isSpace())
      ++i;
    Token t;
    t.position = int(i) + 1;
    if (i >= s.size()) {
      tokens->push_back(t);
      return true;
    }
    const QChar c = s[i];
    if (startsName(c)) {
      const qsizetype start = i;
      while (i < s.size() && continuesName(s[i]))
        ++i;
      t.kind = Token::Kind::Name;
      t.text = s.mid(start, i - start);
    } else if (isDigit(c) || (c == '.' && isDigit(at(i + 1)))) {
      const qsizetype start = i;
      while (isDigit(at(i)))
        ++i;
      if (at(i) == '.' && isDigit(at(i + 1))) {
        ++i;
        while (isDigit(at(i)))
          ++i;
      }
      t.kind = Token::Kind::Number;
      t.text = s.mid(start, i - start);
    } else if (c == '\'') {
      t.kind = Token::Kind::Text;
      for (++i;; ++i) {
        if (i >= s.size()) {
          *error = QString("The text that starts at position %1 has no closing quote").arg(t.position);
          return false;
        }
        if (s[i] == '\'') {
          if (at(i + 1) != '\'') break;
          ++i;
        }
        t.text += s[i];
      }
      ++i;
    } else {
      t.kind = Token::Kind::Symbol;
      for (const char* symbol : kSymbols) {
        if (QStringView(s).mid(i).startsWith(QLatin1String(symbol))) {
          t.text = QLatin1String(symbol);
          break;
        }
      }
      if (t.text.isEmpty()) {
        *error = QString("Unexpected character '%1' at position %2").arg(c).arg(t.position);
        return false;
      }
      i += t.text.size();
    }
    tokens->push_back(t);
  }
}

}  // namespace expr::detail
