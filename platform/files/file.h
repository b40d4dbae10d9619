// An indexed file: a declaration (label, on-disk name, record buffer, keys, structure version) and
// the driver that keeps it as a SQLite database named <name>.tps in the working directory.
//
// Declaring a file:
//
//   struct SongsFile : files::File {
//     explicit SongsFile(SongRecord& r) : File(r, "Cantorix", "kvxdata", 6), buf(r) {}
//     SongRecord& buf;
//     files::Key ByArtist{this, "SongsByArtist", {&buf.Artist, &buf.Title}, files::kDuplicates};
//   };
//
// Several File objects may declare the same on-disk file (an alias); each has its own buffer, its
// own position and its own open state, and they share the data.
//
// Reading. set() chooses a key order and a starting point; next() and previous() then read records
// into the buffer one at a time along that order, from any position in either direction, and fail
// with kNoRecord past either end. get() reads one record by key value or by position and also makes
// it the starting point of next() and previous(). The record's position (its row id) stays valid
// until the record is deleted and is never reused.
//
// Writing. add() inserts the buffer as a new record, put() rewrites the current record, remove()
// deletes it. After watch(), the next read remembers the record's change counter and the following
// put() or remove() fails with kChangedByOther when another program or station changed the record in
// the meantime.
//
// Errors come back as Status values; nothing throws. Not thread-safe: call from the GUI thread.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "platform/files/key.h"
#include "platform/files/record.h"
#include "platform/files/status.h"

namespace files {

using Position = qint64;  // 0 means no record

enum class Access { Shared, ReadOnly, Exclusive };

class File {
 public:
  File(Record& record, const char* label, const char* name, int version);
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  virtual ~File();

  // Declaration.
  const QString& label() const { return label_; }
  const QString& name() const { return name_; }  // on-disk name without extension
  int version() const { return version_; }
  Record& record() const { return record_; }
  const QString& prefix() const { return record_.prefix(); }
  const std::vector<Key*>& keys() const { return keys_; }
  Key* key(const QString& name) const;
  // Keys whose last component the program numbers, in declaration order.
  std::vector<Key*> numberedKeys() const;
  // Path of the data file: <name>.tps in the working directory.
  QString path() const;
  // A text that describes the record layout and keys; two declarations with the same text store
  // their records alike. Kept in the file and compared when it is opened.
  QString layout() const;

  // Opening and closing. The first open of a file in a process also looks the file over: small
  // files completely, large ones at the ends of every key (kInvalidKey: a key is damaged and
  // rebuildKeys() mends it; kNotADataFile: the records themselves are damaged, or the file is not
  // one of ours). While a file is open its presence lock is held (presence_lock.h): exclusive access
  // fails with kAccessDenied while another declaration in this program, another program or another
  // station has the file open, and any open waits (kFileLocked) while a program has it exclusively.
  Status open(Access access = Access::Shared);  // kFileNotFound, kNotADataFile, kLayoutMismatch, ...
  Status create();                              // creates the file empty; fails if a file of that name exists
  // Creates an empty file of this declaration at another path (an example file for repairs).
  Status createAt(const QString& path) const;
  void close();
  bool isOpen() const;

  // What the data file on disk says of itself, read without opening it.
  struct OnDisk {
    bool ours = false;  // a data file of this program
    QString label;      // the label of the file it was made for
    int version = 0;    // its structure version
    QString layout;     // see layout()
  };
  Status onDisk(OnDisk* out) const;
  // Brings a closed file of another layout to this declaration in one transaction, keeping every
  // record, its position and the values of the fields both layouts share (texts cut to the new
  // widths, numbers to the new ranges).
  Status convert();
  // Driver option strings: "QUICKSCAN=on" / "QUICKSCAN=off" (read ahead in pages during sequential
  // runs); "Recover=<seconds>" (wait that long for another program's interrupted work to be undone).
  void sendOption(const QString& option);

  // Counting.
  qint64 records(Status* status = nullptr);

  // Positioning.
  void set(const Key& key);      // next() reads the first record of the key, previous() the last
  void setFrom(const Key& key);  // next()/previous() start at the buffer's key values
  void setByPosition();          // file order: the order in which the records were added
  void resetTo(const Key& key, Position pos);  // next() reads the record at pos, then on along key
  Status next();
  Status previous();
  Status get(const Key& key);  // the first record of the key equal to the buffer's values
  Status get(Position pos);
  Position position() const;
  // The record at `pos` as it stands in the file, without touching the buffer or the sequence.
  Status stored(Position pos, Record::Snapshot* out);

  // Writing.
  void watch();
  // Stream writing, for a loop of many small writes: from here to flush() the file's writes become
  // durable together, once, instead of one by one (unless a transaction is running: then they are
  // its part). Nothing else may begin a transaction before the flush.
  void stream();
  Status flush();
  Status add();
  Status put();
  Status remove();

  // Maintenance: rebuilds every key of the file from its records (also when a key is damaged so badly
  // that the file cannot be opened: a closed file is rebuilt without opening it), compacting the
  // file on the way.
  Status rebuildKeys();

  struct State;

 private:
  friend class Key;
  friend class HeldBuffers;
  friend class View;
  void addKey(Key* k) { keys_.push_back(k); }

  Record& record_;
  QString label_;
  QString name_;
  int version_;
  std::vector<Key*> keys_;
  std::unique_ptr<State> state_;
};

}  // namespace files
