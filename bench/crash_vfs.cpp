#include "bench/crash_vfs.h"

#include <sqlite3.h>

#include <csignal>

namespace bench {

namespace {

sqlite3_vfs* real = nullptr;
sqlite3_vfs crashing;
long stepsLeft = 0;

void step() {
  if (--stepsLeft == 0) std::raise(SIGKILL);
}

// A file of the crashing VFS: the real file's state follows this header in the same allocation.
struct File {
  sqlite3_file base;
};
sqlite3_file* inner(sqlite3_file* f) {
  return reinterpret_cast<sqlite3_file*>(reinterpret_cast<File*>(f) + 1);
}
const sqlite3_io_methods& io(sqlite3_file* f) {
  return *inner(f)->pMethods;
}

int fileClose(sqlite3_file* f) {
  return io(f).xClose(inner(f));
}
int fileRead(sqlite3_file* f, void* p, int n, sqlite3_int64 at) {
  return io(f).xRead(inner(f), p, n, at);
}
int fileWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 at) {
  return io(f).xWrite(inner(f), p, n, at);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
  step();
  return io(f).xTruncate(inner(f), size);
}
int fileSync(sqlite3_file* f, int flags) {
  step();
  return io(f).xSync(inner(f), flags);
}
int fileSizeOf(sqlite3_file* f, sqlite3_int64* size) {
  return io(f).xFileSize(inner(f), size);
}
int fileLock(sqlite3_file* f, int level) {
  return io(f).xLock(inner(f), level);
}
int fileUnlock(sqlite3_file* f, int level) {
  return io(f).xUnlock(inner(f), level);
}
int fileCheckReserved(sqlite3_file* f, int* out) {
  return io(f).xCheckReservedLock(inner(f), out);
}
int fileControlOf(sqlite3_file* f, int op, void* arg) {
  return io(f).xFileControl(inner(f), op, arg);
}
int fileSectorSize(sqlite3_file* f) {
  return io(f).xSectorSize(inner(f));
}
int fileCharacteristics(sqlite3_file* f) {
  return io(f).xDeviceCharacteristics(inner(f));
}

// Version 1: no shared memory (never used with a rollback journal) and no memory mapping.
const sqlite3_io_methods methods = {
    1,        fileClose,  fileRead,          fileWrite,     fileTruncate,   fileSync,           fileSizeOf,
    fileLock, fileUnlock, fileCheckReserved, fileControlOf, fileSectorSize, fileCharacteristics};

int vfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
  if ((flags & SQLITE_OPEN_CREATE) && (flags & (SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_SUPER_JOURNAL)))
    step();
  f->pMethods = nullptr;
  const int rc = real->xOpen(real, name, inner(f), flags, outFlags);
  if (inner(f)->pMethods) f->pMethods = &methods;
  return rc;
}

int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) {
  step();
  return real->xDelete(real, name, syncDir);
}

}  // namespace

void dieAtStep(long n) {
  real = sqlite3_vfs_find(nullptr);
  crashing = *real;
  crashing.zName = "crashing";
  crashing.szOsFile = int(sizeof(File)) + real->szOsFile;
  crashing.xOpen = vfsOpen;
  crashing.xDelete = vfsDelete;
  stepsLeft = n;
  sqlite3_vfs_register(&crashing, 1);
}

}  // namespace bench
