#include "platform/runtime/list_format.h"

namespace rt {
namespace {

class Reader {
 public:
  explicit Reader(const QString& text) : s_(text) {}

  bool atEnd() const { return i_ >= s_.size(); }
  QChar peek() const { return atEnd() ? QChar() : s_[i_]; }
  bool take(QChar c) {
    if (peek() != c) return false;
    ++i_;
    return true;
  }
  std::optional<int> number() {
    qsizetype start = i_;
    while (!atEnd() && s_[i_].isDigit())
      ++i_;
    if (start == i_) return std::nullopt;
    bool ok = false;
    const int n = s_.mid(start, i_ - start).toInt(&ok);
    if (!ok) return std::nullopt;  // too many digits for any width, offset or field
    return n;
  }
  // "(n)", or -1 when there is no parenthesis; nullopt when one is opened and broken.
  std::optional<int> parenthesized() {
    if (!take('(')) return -1;
    const std::optional<int> n = number();
    if (!n || !take(')')) return std::nullopt;
    return n;
  }
  // Text up to the closing `end`; nullopt when it never comes.
  std::optional<QString> until(QChar end) {
    const qsizetype close = s_.indexOf(end, i_);
    if (close < 0) return std::nullopt;
    QString t = s_.mid(i_, close - i_);
    i_ = close + 1;
    return t;
  }

  std::optional<std::vector<ListColumn>> columns(bool inGroup) {
    std::vector<ListColumn> out;
    while (!atEnd() && !(inGroup && peek() == ']')) {
      std::optional<ListColumn> c = column(inGroup);
      if (!c) return std::nullopt;
      out.push_back(std::move(*c));
    }
    return out;
  }

 private:
  static bool isJustification(QChar c) { return c == 'L' || c == 'R' || c == 'C' || c == 'D'; }
  static bool isFlag(QChar c) {
    return !c.isNull() && !c.isDigit() && c != '~' && c != '@' && c != '#' && c != '[' && c != ']';
  }

  bool header(ListColumn* c) {
    if (peek() != '~') return true;
    ++i_;
    const std::optional<QString> h = until('~');
    if (!h) return false;
    c->hasHeader = true;
    c->header = *h;
    if (isJustification(peek())) {
      c->headerJustification = s_[i_++];
      const std::optional<int> off = parenthesized();
      if (!off) return false;
      c->headerOffset = *off;
    }
    return true;
  }

  std::optional<ListColumn> column(bool inGroup) {
    ListColumn c;
    if (take('[')) {
      // Groups hold columns, never other groups: the notation has one level, and a saved format
      // nested deeper is damage (it would also nest this reader as deep).
      if (inGroup) return std::nullopt;
      c.group = true;
      std::optional<std::vector<ListColumn>> inner = columns(true);
      if (!inner || !take(']')) return std::nullopt;
      c.columns = std::move(*inner);
      const std::optional<int> w = parenthesized();
      if (!w) return std::nullopt;
      c.groupWidth = *w;
      while (isFlag(peek()))
        c.flags += s_[i_++];
      if (!header(&c)) return std::nullopt;
      return c;
    }
    const std::optional<int> w = number();
    if (!w || !isJustification(peek())) return std::nullopt;
    c.width = *w;
    c.justification = s_[i_++];
    const std::optional<int> off = parenthesized();
    if (!off) return std::nullopt;
    c.offset = *off;
    while (isFlag(peek()))
      c.flags += s_[i_++];
    if (!header(&c)) return std::nullopt;
    if (take('@')) {
      const std::optional<QString> p = until('@');
      if (!p) return std::nullopt;
      c.picture = *p;
    }
    if (take('#')) {
      const std::optional<int> f = number();
      if (!f || !take('#')) return std::nullopt;
      c.field = *f;
    }
    return c;
  }

  QString s_;
  qsizetype i_ = 0;
};

void write(const ListColumn& c, QString* out) {
  if (c.group) {
    *out += '[';
    for (const ListColumn& inner : c.columns)
      write(inner, out);
    *out += ']';
    if (c.groupWidth >= 0) *out += QString("(%1)").arg(c.groupWidth);
  } else {
    *out += QString::number(c.width) + c.justification;
    if (c.offset >= 0) *out += QString("(%1)").arg(c.offset);
  }
  *out += c.flags;
  if (c.hasHeader) {
    *out += '~' + c.header + '~';
    if (!c.headerJustification.isNull()) {
      *out += c.headerJustification;
      if (c.headerOffset >= 0) *out += QString("(%1)").arg(c.headerOffset);
    }
  }
  if (c.group) return;
  if (!c.picture.isEmpty()) *out += '@' + c.picture + '@';
  if (c.field >= 0) *out += QString("#%1#").arg(c.field);
}

template <typename Columns, typename Out>
void collectLeaves(Columns& columns, Out* out) {
  for (auto& c : columns) {
    if (c.group)
      collectLeaves(c.columns, out);
    else
      out->push_back(&c);
  }
}

}  // namespace

std::optional<std::vector<ListColumn>> parseListFormat(const QString& format) {
  Reader r(format);
  std::optional<std::vector<ListColumn>> columns = r.columns(false);
  if (!columns || !r.atEnd()) return std::nullopt;
  return columns;
}

QString writeListFormat(const std::vector<ListColumn>& columns) {
  QString out;
  for (const ListColumn& c : columns)
    write(c, &out);
  return out;
}

std::vector<const ListColumn*> leafColumns(const std::vector<ListColumn>& columns) {
  std::vector<const ListColumn*> out;
  collectLeaves(columns, &out);
  return out;
}

std::vector<ListColumn*> leafColumns(std::vector<ListColumn>& columns) {
  std::vector<ListColumn*> out;
  collectLeaves(columns, &out);
  return out;
}

QString replaceDatePictures(const QString& format, const QString& datePicture) {
  if (datePicture.trimmed().isEmpty()) return format;
  QString out;
  for (qsizetype i = 0; i < format.size();) {
    if (format[i] == '@' && i + 1 < format.size() && format[i + 1].toUpper() == 'D') {
      const qsizetype close = format.indexOf('@', i + 1);
      if (close < 0) {
        out += format.mid(i);
        break;
      }
      out += '@' + datePicture.trimmed();
      i = close;  // the closing "@" is copied next
      continue;
    }
    out += format[i++];
  }
  return out;
}

}  // namespace rt
