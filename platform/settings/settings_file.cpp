#include "platform/settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/text/encoding.h"

namespace settings {
namespace {

QString resolve(const QString& file) {
  QString path = file;
  path.replace('\\', '/');
  return QDir::current().absoluteFilePath(path);
}

// A settings file as it stands on disk. Each line keeps its own bytes and its own line end ("\r\n",
// "\n", "\r", or none on a last line), so that writing an entry rewrites that entry's line and no
// other byte. The file's text is UTF-8 when its bytes are, and Windows-1252 otherwise, as files
// that older Windows programs wrote are.
struct Line {
  QByteArray bytes;  // without the line end
  QByteArray end;
  QString text;
};

struct Document {
  std::vector<Line> lines;
  bool windows1252 = false;

  // The line end new lines get: the file's own (that of its first line), "\n" for a new file.
  QByteArray lineEnd() const {
    for (const Line& l : lines)
      if (!l.end.isEmpty()) return l.end;
    return "\n";
  }
  QString decode(QByteArrayView bytes) const {
    return windows1252 ? encoding::fromWindows1252(bytes) : QString::fromUtf8(bytes);
  }
  // A line of text in the file's encoding. A Windows-1252 file that is given a character its code
  // page lacks becomes UTF-8 as a whole, each line re-encoded with the same text.
  QByteArray encode(const QString& text) {
    if (windows1252) {
      if (std::optional<QByteArray> bytes = encoding::toWindows1252(text)) return *bytes;
      windows1252 = false;
      for (Line& l : lines)
        l.bytes = l.text.toUtf8();
    }
    return text.toUtf8();
  }
  void append(const QString& text) { insert(qsizetype(lines.size()), text); }
  void insert(qsizetype at, const QString& text) {
    const QByteArray end = lineEnd();
    // A last line without an end needs one before anything can follow it.
    if (at > 0 && lines[at - 1].end.isEmpty()) lines[at - 1].end = end;
    const QByteArray bytes = encode(text);
    lines.insert(lines.begin() + at, Line{bytes, end, text});
  }
  QByteArray bytes() const {
    QByteArray out;
    for (const Line& l : lines)
      out += l.bytes + l.end;
    return out;
  }
};

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

Document parse(const QByteArray& bytes) {
  Document doc;
  doc.windows1252 = !encoding::isUtf8(bytes);
  for (qsizetype at = 0; at < bytes.size();) {
    qsizetype end = at;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
      ++end;
    qsizetype next = end;
    if (next < bytes.size())
      next += bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n' ? 2 : 1;
    Line line{bytes.mid(at, end - at), bytes.mid(end, next - end), QString()};
    QByteArrayView text = line.bytes;
    // A byte-order mark is no part of the first line's text.
    if (at == 0 && !doc.windows1252 && text.startsWith(kUtf8Mark)) text = text.sliced(3);
    line.text = doc.decode(text);
    doc.lines.push_back(std::move(line));
    at = next;
  }
  return doc;
}

// The file's document; a file that cannot be read has no lines.
Document load(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return parse(f.readAll());
}

// The section name of a "[Section]" line, or a null text for any other line.
QString sectionOf(const QString& line) {
  const QString t = line.trimmed();
  if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']')) return QString();
  return t.mid(1, t.size() - 2).trimmed();
}

// Splits an "entry=value" line; false for lines without "=" or with an empty entry name.
bool splitEntry(const QString& line, QString* name, QString* value) {
  const qsizetype eq = line.indexOf('=');
  if (eq <= 0) return false;
  *name = line.left(eq).trimmed();
  if (name->isEmpty() || name->startsWith(';')) return false;
  *value = line.mid(eq + 1).trimmed();
  return true;
}

bool sameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where an entry stands: the line of the section header (-1 if none), the line of the entry (-1 if
// none) and the line after the section's last entry, where a new entry goes.
struct Place {
  qsizetype section = -1;
  qsizetype entry = -1;
  qsizetype insertAt = -1;
};

Place find(const std::vector<Line>& lines, const QString& section, const QString& entry) {
  Place p;
  bool inSection = false;
  for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
    const QString s = sectionOf(lines[i].text);
    if (!s.isNull()) {
      if (inSection) return p;  // the section ended without the entry
      inSection = sameName(s, section);
      if (inSection) {
        p.section = i;
        p.insertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    QString name, value;
    if (splitEntry(lines[i].text, &name, &value)) {
      if (sameName(name, entry)) {
        p.entry = i;
        return p;
      }
      p.insertAt = i + 1;
    }
  }
  return p;
}

QString unquote(QString value) {
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
    return value.mid(1, value.size() - 2);
  return value;
}

// Entry values live on one line: line breaks become spaces.
QString oneLine(QString value) {
  value.replace("\r\n", " ");
  value.replace('\r', ' ');
  value.replace('\n', ' ');
  return value;
}

}  // namespace

QString read(const QString& file, const QString& section, const QString& entry, const QString& fallback) {
  const Document doc = load(resolve(file));
  const Place p = find(doc.lines, section, entry);
  if (p.entry < 0) return fallback;
  QString name, value;
  splitEntry(doc.lines[p.entry].text, &name, &value);
  return unquote(value);
}

bool write(const QString& file, const QString& section, const QString& entry, const QString& value) {
  const QString path = resolve(file);
  QDir().mkpath(QFileInfo(path).absolutePath());
  // Other programs sharing the folder write the same files; the lock keeps a read-modify-write whole.
  QLockFile lock(path + ".lck");
  lock.setStaleLockTime(10000);
  if (!lock.tryLock(5000)) return false;

  QByteArray before;
  if (QFile f(path); f.open(QIODevice::ReadOnly)) before = f.readAll();
  Document doc = parse(before);
  const Place p = find(doc.lines, section, entry);
  const QString line = entry + "=" + oneLine(value);
  if (p.entry >= 0) {
    Line& l = doc.lines[p.entry];
    l.bytes = doc.encode(line);
    l.text = line;
  } else if (p.section >= 0) {
    doc.insert(p.insertAt, line);
  } else {
    if (!doc.lines.empty() && !doc.lines.back().text.trimmed().isEmpty()) doc.append(QString());
    doc.append("[" + section + "]");
    doc.append(line);
  }

  const QByteArray after = doc.bytes();
  // An entry written with the value it has leaves the file untouched.
  if (after == before) return true;
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return false;
  out.write(after);
  return out.commit();
}

QString systemFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/kvx98.ini";
}

double numberOf(const QString& text) {
  const QString t = text.trimmed();
  qsizetype end = 0;
  if (end < t.size() && (t[end] == '-' || t[end] == '+')) ++end;
  const qsizetype digitsStart = end;
  while (end < t.size() && t[end].isDigit() && t[end].unicode() < 128)
    ++end;
  qsizetype digits = end - digitsStart;
  if (end < t.size() && t[end] == '.') {
    qsizetype frac = end + 1;
    while (frac < t.size() && t[frac].isDigit() && t[frac].unicode() < 128)
      ++frac;
    digits += frac - end - 1;
    if (frac > end + 1) end = frac;
  }
  if (digits == 0) return 0;
  bool ok = false;
  const double v = t.left(end).toDouble(&ok);
  return ok && std::isfinite(v) ? v : 0;
}

qint64 wholeNumberOf(const QString& text) {
  const double v = std::trunc(numberOf(text));
  if (v >= 9.2e18 || v <= -9.2e18) return 0;
  return static_cast<qint64>(v);
}

}  // namespace settings
