#include "platform/settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <cmath>
#include <limits>

namespace settings {
namespace {

QString resolve(const QString& file) {
  QString path = file;
  path.replace('\\', '/');
  return QDir::current().absoluteFilePath(path);
}

// Lines as they stand in the file, without line ends. A file that cannot be read has no lines.
QStringList readLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QString text = QString::fromUtf8(f.readAll());
  text.remove('\r');
  QStringList lines = text.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
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

Place find(const QStringList& lines, const QString& section, const QString& entry) {
  Place p;
  bool inSection = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString s = sectionOf(lines[i]);
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
    if (splitEntry(lines[i], &name, &value)) {
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
  const QStringList lines = readLines(resolve(file));
  const Place p = find(lines, section, entry);
  if (p.entry < 0) return fallback;
  QString name, value;
  splitEntry(lines[p.entry], &name, &value);
  return unquote(value);
}

bool write(const QString& file, const QString& section, const QString& entry, const QString& value) {
  const QString path = resolve(file);
  QDir().mkpath(QFileInfo(path).absolutePath());
  // Other programs sharing the folder write the same files; the lock keeps a read-modify-write whole.
  QLockFile lock(path + ".lck");
  lock.setStaleLockTime(10000);
  if (!lock.tryLock(5000)) return false;

  QStringList lines = readLines(path);
  const Place p = find(lines, section, entry);
  const QString line = entry + "=" + oneLine(value);
  if (p.entry >= 0) {
    lines[p.entry] = line;
  } else if (p.section >= 0) {
    lines.insert(p.insertAt, line);
  } else {
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines.append(QString());
    lines.append("[" + section + "]");
    lines.append(line);
  }

  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return false;
  out.write((lines.join('\n') + '\n').toUtf8());
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
