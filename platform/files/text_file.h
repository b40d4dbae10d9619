// A text file read and written one line per record (the line driver): the event log, CSV files.
//
// The record's fields lie side by side on a line at their declared widths (texts padded with spaces,
// numbers as decimal text); a record with a single field holds the whole line. Lines end in CR LF and
// are written as UTF-8; reading skips a UTF-8 byte-order mark, accepts LF alone, and reads a file that
// is not valid UTF-8 as Windows-1252 so that files from older Windows programs come in right.
//
// add() appends one line with a single write, so several programs may append to the same file.
// Not thread-safe; call from the GUI thread.
#pragma once

#include <QFile>
#include <QString>

#include "platform/files/file.h"

namespace files {

class TextFile {
 public:
  // `name` is the file name as it stands on disk, extension included (relative names are taken in the
  // working directory).
  TextFile(Record& record, const char* label, const QString& name);
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  const QString& label() const { return label_; }
  const QString& name() const { return name_; }
  void setName(const QString& name) { name_ = name; }
  Record& record() const { return record_; }
  QString path() const;

  Status open(Access access = Access::Shared);
  Status create();  // creates the file empty, replacing one that exists
  void close();
  bool isOpen() const { return file_.isOpen(); }

  void set();     // the next read starts at the first line
  Status next();  // kNoRecord after the last line
  Status add();
  // Byte offset of the line last read or added.
  Position position() const { return position_; }

  // The line a record occupies, without the line end.
  QString lineOf() const;

 private:
  void split(const QString& line);

  Record& record_;
  QString label_;
  QString name_;
  QFile file_;
  bool windows1252_ = false;
  qint64 readAt_ = 0;
  Position position_ = 0;
  Access access_ = Access::Shared;
};

}  // namespace files
