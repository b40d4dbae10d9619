// The presence lock of a data file: every program holds it for as long as it has the file open, so
// that a program that needs the file to itself (the repair utility, an exclusive open) can tell
// that the file is in use, in this process, in another one or on another station. SQLite's own
// locks cannot tell: a program that has a file open but is not in a transaction holds none.
//
// The lock is an open-file-description lock (F_OFD_SETLK) on one byte of the data file itself, at
// offset 0x40000200 (kPresenceByte):
//   - it belongs to the lock's own descriptor, so SQLite opening and closing its descriptors of the
//     same file never drops it (a process's classic fcntl locks all go when any one of its
//     descriptors of the file closes);
//   - it lies right after the 512 bytes SQLite locks (0x40000000 pending, 0x40000001 reserved,
//     0x40000002-0x400001FF shared), inside the page at 1 GiB that SQLite keeps free of data (for
//     pages of 1024 bytes or more; ours have 4096), so it never conflicts with SQLite's locks; being
//     advisory, it would not hinder reading or writing a stored byte either.
// Held shared by every opener; exclusive by a program that must be the file's only user.
//
// Closing the lock's descriptor drops this process's classic locks on the file, SQLite's among
// them: release a presence lock only once SQLite no longer has the file open in this process.
// Not thread-safe; errors come back as Status values.
#pragma once

#include <QString>

#include "platform/files/status.h"

namespace files {

class PresenceLock {
 public:
  enum class Mode { Shared, Exclusive };
  static constexpr qint64 kPresenceByte = 0x40000200;

  PresenceLock() = default;
  ~PresenceLock() { release(); }
  PresenceLock(PresenceLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  PresenceLock& operator=(PresenceLock&& other) noexcept;
  PresenceLock(const PresenceLock&) = delete;
  PresenceLock& operator=(const PresenceLock&) = delete;

  // Takes the lock on the existing file at `path`, waiting up to `waitMs` while another holder's
  // lock conflicts with it. kFileLocked when it still conflicts then, kFileNotFound when there is
  // no such file, kAccessDenied when it cannot be opened. Releases a lock held before.
  Status take(const QString& path, Mode mode, int waitMs = 0);
  void release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace files
