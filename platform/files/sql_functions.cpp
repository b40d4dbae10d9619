#include "platform/files/sql_functions.h"

#include <sqlite3.h>

#include <QString>
#include <QVariant>

#include "platform/files/text_functions.h"

namespace files {
namespace {

QString textArg(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      return textOfNumber(qint64(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
      return textOfNumber(sqlite3_value_double(v));
    case SQLITE_NULL:
      return QString();
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
      return QString::fromUtf8(text, sqlite3_value_bytes(v));
    }
  }
}

QVariant numberArg(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      return qlonglong(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
      return sqlite3_value_double(v);
    case SQLITE_NULL:
      return qlonglong(0);
    default:
      return numberValueOfText(textArg(v));
  }
}

qint64 wholeArg(sqlite3_value* v) {
  const QVariant n = numberArg(v);
  return n.typeId() == QMetaType::Double ? intValue(n.toDouble()) : n.toLongLong();
}

void resultText(sqlite3_context* ctx, const QString& s) {
  const QByteArray utf8 = s.toUtf8();
  sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultNumber(sqlite3_context* ctx, const QVariant& n) {
  if (n.typeId() == QMetaType::Double)
    sqlite3_result_double(ctx, n.toDouble());
  else
    sqlite3_result_int64(ctx, n.toLongLong());
}

void upperFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  resultText(ctx, upperText(textArg(a[0])));
}

void lowerFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  resultText(ctx, lowerText(textArg(a[0])));
}

void clipFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  resultText(ctx, clipText(textArg(a[0])));
}

void lenFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  sqlite3_result_int64(ctx, lengthOfText(textArg(a[0])));
}

void subFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  resultText(ctx, subText(textArg(a[0]), wholeArg(a[1]), wholeArg(a[2])));
}

void inStringFn(sqlite3_context* ctx, int n, sqlite3_value** a) {
  sqlite3_result_int64(
      ctx, inString(textArg(a[0]), textArg(a[1]), n > 2 ? wholeArg(a[2]) : 1, n > 3 ? wholeArg(a[3]) : 1));
}

void leftFn(sqlite3_context* ctx, int n, sqlite3_value** a) {
  resultText(ctx, leftText(textArg(a[0]), n > 1 ? wholeArg(a[1]) : -1));
}

void intFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  sqlite3_result_int64(ctx, wholeArg(a[0]));
}

void absFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  resultNumber(ctx, absNumber(numberArg(a[0])));
}

void numberFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  resultNumber(ctx, numberArg(a[0]));
}

void textFn(sqlite3_context* ctx, int, sqlite3_value** a) {
  resultText(ctx, textArg(a[0]));
}

int exactCollation(void*, int na, const void* a, int nb, const void* b) {
  return compareExactUtf8(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

struct Function {
  const char* name;
  int arguments;
  void (*call)(sqlite3_context*, int, sqlite3_value**);
};

constexpr Function kFunctions[] = {
    {"kvx_upper", 1, upperFn},       {"kvx_lower", 1, lowerFn},       {"kvx_clip", 1, clipFn},
    {"kvx_len", 1, lenFn},           {"kvx_sub", 3, subFn},           {"kvx_instring", 2, inStringFn},
    {"kvx_instring", 3, inStringFn}, {"kvx_instring", 4, inStringFn}, {"kvx_left", 1, leftFn},
    {"kvx_left", 2, leftFn},         {"kvx_int", 1, intFn},           {"kvx_abs", 1, absFn},
    {"kvx_number", 1, numberFn},     {"kvx_text", 1, textFn},
};

}  // namespace

int registerSqlFunctions(sqlite3* db) {
  constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  for (const Function& f : kFunctions) {
    const int rc = sqlite3_create_function_v2(db, f.name, f.arguments, flags, nullptr, f.call, nullptr,
                                              nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  return sqlite3_create_collation_v2(db, kExactCollationName, SQLITE_UTF8, nullptr, exactCollation, nullptr);
}

}  // namespace files
