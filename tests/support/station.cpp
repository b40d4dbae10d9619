// A second station for tests: another program working on the same data files, as a user on another
// computer of the network would. Each run does one thing, printing "ready" when the test may act.
//
//   kvx_station lock FILE.tps MS        holds an exclusive lock on the file for MS milliseconds
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/files/collation.h"

namespace {

int lock(const char* path, int ms) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path, &db) != SQLITE_OK) return 2;
  files::registerCollation(db);
  if (sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) return 3;
  std::printf("ready\n");
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "lock") == 0) return lock(argv[2], std::atoi(argv[3]));
  std::fprintf(stderr, "usage: kvx_station lock FILE.tps MS\n");
  return 1;
}
