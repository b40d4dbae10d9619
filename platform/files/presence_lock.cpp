#include "platform/files/presence_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace files {

namespace {

// How often a conflicting lock is tried again while waiting (the engine's own busy wait polls alike).
constexpr auto kRetry = std::chrono::milliseconds(10);

bool tryLock(int fd, PresenceLock::Mode mode) {
  struct flock l {};
  l.l_type = mode == PresenceLock::Mode::Exclusive ? F_WRLCK : F_RDLCK;
  l.l_whence = SEEK_SET;
  l.l_start = PresenceLock::kPresenceByte;
  l.l_len = 1;
  l.l_pid = 0;  // required of open-file-description locks
  return fcntl(fd, F_OFD_SETLK, &l) == 0;
}

}  // namespace

PresenceLock& PresenceLock::operator=(PresenceLock&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

Status PresenceLock::take(const QString& path, Mode mode, int waitMs) {
  release();
  const QByteArray name = QFile::encodeName(path);
  const int fd = ::open(name.constData(), (mode == Mode::Exclusive ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return Status::error(errno == ENOENT ? kFileNotFound : kAccessDenied, path);
  QElapsedTimer clock;
  clock.start();
  while (!tryLock(fd, mode)) {
    const int error = errno;
    const bool conflict = error == EAGAIN || error == EACCES;
    if (!conflict || clock.elapsed() >= waitMs) {
      ::close(fd);
      return conflict
                 ? Status::error(kFileLocked, "the file is in use by another program")
                 : Status::error(kAccessDenied, QString("the file cannot be locked: ") + strerror(error));
    }
    std::this_thread::sleep_for(kRetry);
  }
  fd_ = fd;
  return Status::success();
}

void PresenceLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // the lock goes with its open file description
  fd_ = -1;
}

}  // namespace files
