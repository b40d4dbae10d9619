// A second station for tests: another copy of the program working on the same data files, as a user
// on another computer of the network would. Each run does one thing in the current working
// directory, printing "ready" when the test may go on.
//
//   kvx_station lock FILE.tps MS         holds an exclusive lock on the file for MS milliseconds
//   kvx_station hold MS                  holds a write transaction on the songs file for MS milliseconds
//   kvx_station open MS                  keeps the songs file open, idle, for MS milliseconds
//   kvx_station retitle ID TITLE         changes the title of song ID, then says "ready"
//   kvx_station die-deleting ALBUM STEPS deletes album ALBUM through its integrity routine and kills
//                                        itself (SIGKILL) in the middle, after STEPS engine steps
#include <sqlite3.h>

#include <QApplication>
#include <QStringList>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/files/collation.h"
#include "platform/files/database.h"
#include "platform/files/transaction.h"
#include "platform/runtime/message.h"
#include "platform/runtime/threads.h"
#include "storage/file_access.h"
#include "storage/integrity.h"
#include "storage/records.h"

namespace {

void ready() {
  std::printf("ready\n");
  std::fflush(stdout);
}

int lock(const char* path, int ms) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path, &db) != SQLITE_OK) return 2;
  files::registerCollation(db);
  if (sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) return 3;
  ready();
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return 0;
}

int hold(int ms) {
  if (!OpenFile(Cantorix) || !files::beginTransaction(2000, {&Cantorix})) return 2;
  ready();
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  files::rollback();
  return 0;
}

int keepOpen(int ms) {
  if (!OpenFile(Cantorix)) return 2;
  ready();
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  CloseFile(Cantorix);
  return 0;
}

int retitle(int id, const char* title) {
  if (!OpenFile(Cantorix)) return 2;
  MUS.ID = id;
  if (!Cantorix.get(Cantorix.KeyID)) return 3;
  MUS.Title = QString::fromUtf8(title);
  if (!Cantorix.put()) return 4;
  ready();
  return 0;
}

int stepsLeft = 0;
int countSteps(void*) {
  sqlite3* db = files::detail::Database::instance().handle();
  if (!sqlite3_get_autocommit(db) && --stepsLeft <= 0) std::raise(SIGKILL);
  return 0;
}

int dieDeleting(int album, int steps) {
  if (!OpenFile(Album) || !OpenFile(Cantorix)) return 2;
  ALB.AlbumID = album;
  if (!Album.get(Album.KeyAlbumID)) return 3;
  stepsLeft = steps;
  sqlite3* db = files::detail::Database::instance().handle();
  // A small page cache makes the engine write changed pages into the files long before the commit,
  // so the kill leaves files that only their journals can put right.
  sqlite3_stmt* list = nullptr;
  sqlite3_prepare_v2(db, "SELECT name FROM pragma_database_list", -1, &list, nullptr);
  QStringList schemas;
  while (sqlite3_step(list) == SQLITE_ROW)
    schemas << reinterpret_cast<const char*>(sqlite3_column_text(list, 0));
  sqlite3_finalize(list);
  for (const QString& schema : schemas)
    sqlite3_exec(db, QString("PRAGMA %1.cache_size=10").arg(schema).toUtf8().constData(), nullptr, nullptr,
                 nullptr);
  ready();
  sqlite3_progress_handler(db, 100, countSteps, nullptr);
  RIDelete(Album);
  return 4;  // the routine ended before the kill: the test has asked for too many steps
}

int run(int argc, char** argv) {
  if (argc == 4 && !std::strcmp(argv[1], "lock")) return lock(argv[2], std::atoi(argv[3]));
  if (argc == 3 && !std::strcmp(argv[1], "hold")) return hold(std::atoi(argv[2]));
  if (argc == 3 && !std::strcmp(argv[1], "open")) return keepOpen(std::atoi(argv[2]));
  if (argc == 4 && !std::strcmp(argv[1], "retitle")) return retitle(std::atoi(argv[2]), argv[3]);
  if (argc == 4 && !std::strcmp(argv[1], "die-deleting"))
    return dieDeleting(std::atoi(argv[2]), std::atoi(argv[3]));
  std::fprintf(stderr, "usage: see station.cpp\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  // Nobody answers questions on this station: every message takes its escape button.
  rt::answerEveryMessage();
  int code = 1;
  rt::start([&] {
    code = run(argc, argv);
    QCoreApplication::quit();
  });
  app.exec();
  return code;
}
