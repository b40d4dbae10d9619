#include "tools/tpsfix/repair.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <map>

#include "platform/files/layout.h"
#include "platform/files/presence_lock.h"
#include "tools/tpsfix/connection.h"
#include "tools/tpsfix/known_files.h"
#include "tools/tpsfix/page_scan.h"
#include "tools/tpsfix/readable_rows.h"
#include "tools/tpsfix/row_check.h"

namespace tpsfix {
namespace {

using Rows = std::map<qint64, std::vector<QVariant>>;

QString fileName(const QString& path) {
  return QFileInfo(path).fileName();
}

bool sameLabel(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

Report refused(const QString& why) {
  Report r;
  r.outcome = Outcome::Refused;
  r.text = why + "; nothing was changed";
  return r;
}

Report failed(const QString& why) {
  Report r;
  r.text = why;
  return r;
}

// Which of the program's files the data file is: the one its name says, or, under another name, the
// one its example is of. Null with the report filled in when that cannot be told or the two disagree.
const files::File* whichFile(const QString& dataPath, const QString& examplePath, Report* r) {
  const files::File* byName = fileNamed(QFileInfo(dataPath).completeBaseName());
  if (examplePath.isEmpty()) {
    if (!byName)
      *r = failed(fileName(dataPath) + " is not one of the program's data files; name its example with /E:");
    return byName;
  }
  Description example;
  if (QFile::exists(examplePath)) {
    Connection c(examplePath, SQLITE_OPEN_READONLY);
    if (c.ok()) example = describe(c);
  }
  if (example.kind.isEmpty()) {
    *r = failed("the example file " + examplePath + " cannot be read");
    return nullptr;
  }
  const files::File* byExample =
      example.kind == files::detail::kFileKind ? fileLabelled(example.label) : nullptr;
  if (!byExample) {
    *r = refused("the example " + fileName(examplePath) + " is no example of the program's data files");
    return nullptr;
  }
  if (byName && byName != byExample) {
    *r = refused(QString("the example %1 is of the file %2, not of %3 (%4)")
                     .arg(fileName(examplePath), byExample->label(), byName->label(), fileName(dataPath)));
    return nullptr;
  }
  return byExample;
}

// Why the data file, by what it says of itself, is not `file`; empty when it is or cannot tell.
QString otherKind(const Description& stored, const files::File& file, const QString& dataPath) {
  if (!stored.kind.isEmpty() && stored.kind != files::detail::kFileKind)
    return fileName(dataPath) + " is not a data file of this program";
  if (!stored.label.isEmpty() && !sameLabel(stored.label, file.label()))
    return QString("%1 holds the records of %2, not of %3")
        .arg(fileName(dataPath), stored.label, file.label());
  return QString();
}

QString incompleteness(Completeness c) {
  return c == Completeness::CutOff ? "part of it lay beyond the end of the file, which was cut short"
                                   : "its long values ran on into pages that are lost";
}

// Sorts every record found into the sound ones, returned, and the damaged ones, listed in the report.
// What SQLite reads of a record wins over what the page scan found of it, but a record the scan
// saw cut off is damaged either way: SQLite reads the missing part as the same zeros.
Rows sortOut(const std::vector<Column>& columns, const PageScan& scan, Rows readable, Report* r) {
  std::map<qint64, const ScannedRow*> scanned;
  for (const ScannedRow& s : scan.rows)
    scanned[s.rowid] = &s;
  Rows all = std::move(readable);
  for (const auto& [rowid, s] : scanned)
    all.try_emplace(rowid, s->values);
  Rows sound;
  for (auto& [rowid, values] : all) {
    const auto s = scanned.find(rowid);
    const QString wrong = s != scanned.end() && s->second->completeness != Completeness::Whole
                              ? incompleteness(s->second->completeness)
                              : damage(columns, rowid, values);
    if (wrong.isEmpty())
      sound.emplace(rowid, std::move(values));
    else
      r->damaged.push_back({rowid, wrong});
  }
  return sound;
}

// Writes `rows` into a new file of `file`'s layout at `path`; an error text when that fails.
QString build(const QString& path, const files::File& file, const std::vector<Column>& columns,
              const Rows& rows, Report* r) {
  Connection result(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (!result.ok()) return "the repaired file cannot be written beside the original";
  if (result.exec("BEGIN") != SQLITE_OK) return result.error();
  for (const QString& sql : files::detail::createStatements(file, "main"))
    if (result.exec(sql) != SQLITE_OK) return result.error();
  QStringList names, marks;
  for (const Column& c : columns) {
    names << files::detail::quoted(c.name);
    marks << "?";
  }
  sqlite3_stmt* insert = nullptr;
  if (sqlite3_prepare_v2(
          result.db(),
          ("INSERT INTO data(" + names.join(", ") + ") VALUES(" + marks.join(", ") + ")").toUtf8(), -1,
          &insert, nullptr) != SQLITE_OK)
    return result.error();
  for (const auto& [rowid, values] : rows) {
    for (int i = 0; i < int(values.size()); ++i) {
      if (columns[i].type == ColumnType::Text) {
        const QByteArray u = values[i].toByteArray();
        sqlite3_bind_text(insert, i + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_int64(insert, i + 1, values[i].toLongLong());
      }
    }
    const int rc = sqlite3_step(insert);
    sqlite3_reset(insert);
    if (rc == SQLITE_DONE)
      ++r->recovered;
    else if ((rc & 0xff) == SQLITE_CONSTRAINT)
      ++r->duplicates;
  }
  sqlite3_finalize(insert);
  QStringList verified;
  if (result.exec("COMMIT") != SQLITE_OK || !result.texts("PRAGMA integrity_check", &verified) ||
      verified != QStringList{"ok"})
    return result.error();
  return QString();
}

QString keptName(const QString& dataPath) {
  const QFileInfo info(dataPath);
  const QString base = info.path() + "/" + info.completeBaseName();
  QString candidate = base + ".damaged." + info.suffix();
  for (int n = 2; QFile::exists(candidate); ++n)
    candidate = base + QString(".damaged-%1.").arg(n) + info.suffix();
  return candidate;
}

QString summary(const Report& r) {
  QString text = QString("%1 record(s) recovered").arg(r.recovered);
  const qint64 damaged = qint64(r.damaged.size());
  if (r.expected >= 0) {
    const qint64 lost = qMax<qint64>(0, r.expected - r.recovered - r.duplicates - damaged);
    text += QString(" of %1; %2 could not be read").arg(r.expected).arg(lost);
  }
  if (r.duplicates) text += QString("; %1 left out as duplicates of a unique key").arg(r.duplicates);
  if (damaged) text += QString("; %1 recovered with damage and left out (listed below)").arg(damaged);
  text += "; the original is kept as " + QFileInfo(r.keptAs).fileName();
  for (const DamagedRecord& d : r.damaged)
    text += QString("\n  record %1: %2").arg(d.position).arg(d.reason);
  return text;
}

}  // namespace

Report repair(const QString& dataPath, const QString& examplePath) {
  Report r;
  if (!QFile::exists(dataPath)) {
    r.text = "the file " + dataPath + " does not exist";
    return r;
  }
  const files::File* file = whichFile(dataPath, examplePath, &r);
  if (!file) return r;
  const std::vector<Column> columns = columnsOf(*file);

  // Nobody else may have the file open while it is repaired (its presence lock, held until the end)
  // nor be in a transaction on it; taking SQLite's lock also lets SQLite undo the work of a program
  // that stopped in the middle of a transaction.
  files::PresenceLock presence;
  const bool alone = presence.take(dataPath, files::PresenceLock::Mode::Exclusive).ok();
  Connection damaged(dataPath, SQLITE_OPEN_READWRITE);
  const int locked = alone ? damaged.exec("BEGIN EXCLUSIVE") : SQLITE_BUSY;
  if ((locked & 0xff) == SQLITE_BUSY || (locked & 0xff) == SQLITE_LOCKED) {
    r.outcome = Outcome::InUse;
    r.text = "the file is in use by another program; close it there and run the repair again";
    return r;
  }
  if (const QString other = otherKind(describe(damaged), *file, dataPath); !other.isEmpty()) {
    damaged.exec("ROLLBACK");
    return refused(other);
  }
  QStringList check;
  if (locked == SQLITE_OK && damaged.texts("PRAGMA integrity_check", &check) && check == QStringList{"ok"}) {
    damaged.exec("ROLLBACK");
    r.outcome = Outcome::Sound;
    r.text = "no damage found; the file was left as it is";
    return r;
  }
  QStringList count;
  if (damaged.texts("SELECT n FROM _kvx_count", &count) && count.size() == 1)
    r.expected = count.first().toLongLong();

  std::vector<ColumnType> types;
  for (const Column& c : columns)
    types.push_back(c.type);
  const PageScan scan = scanPages(dataPath, types);
  qint64 highest = 0;
  for (const ScannedRow& s : scan.rows)
    highest = qMax(highest, s.rowid);
  const Rows sound = sortOut(columns, scan, readableRows(damaged, columns, highest), &r);
  damaged.exec("ROLLBACK");

  const QString fixing = dataPath + ".fixing";
  QFile::remove(fixing);
  if (const QString error = build(fixing, *file, columns, sound, &r); !error.isEmpty()) {
    QFile::remove(fixing);
    r.text = "the repaired file could not be completed: " + error;
    return r;
  }

  r.keptAs = keptName(dataPath);
  const QString journal = dataPath + "-journal";
  if (!QFile::rename(dataPath, r.keptAs) ||
      (QFile::exists(journal) && !QFile::rename(journal, r.keptAs + "-journal")) ||
      !QFile::rename(fixing, dataPath)) {
    r.text = "the repaired file is ready as " + fixing + " but could not take the place of the original";
    return r;
  }
  r.outcome = Outcome::Repaired;
  r.text = summary(r);
  return r;
}

}  // namespace tpsfix
