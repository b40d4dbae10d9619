// Reliability under two stations: two worker processes share one set of data files and each runs
// at least 10,000 mixed operations for at least a minute, all through the integrity routines and
// transactions; then every relation between the files is checked and every counted change found.
//
//   kvx98_stress [DIR] [OPERATIONS] [SECONDS]     (defaults: /tmp/kvx98-stress, 10000, 60)
//
// The operations: add to a shared counter song (watched read, integrity update, again on a re-read:
// no increment may be lost or counted twice), delete an album with its songs (refused while a
// playlist holds one), renumber a category (its songs follow), add a song to an album, and add or
// drop a playlist entry, each adding step checking its target inside the transaction that writes.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>

#include "bench/station_work.h"
#include "platform/runtime/message.h"
#include "platform/runtime/threads.h"

namespace {

const bench::Shape kShape;

int worker(quint32 seed, int operations, int seconds) {
  using namespace bench;
  openCatalogue();
  QRandomGenerator r(seed);
  Tally t;
  QElapsedTimer clock;
  clock.start();
  int done = 0;
  for (; done < operations || clock.elapsed() < seconds * 1000; ++done) {
    const int pick = r.bounded(100);
    if (pick < 40)
      increment(r, kShape, t);
    else if (pick < 48)
      deleteAlbum(r, kShape, t, int(seed % 2));
    else if (pick < 58)
      renumberCategory(r, kShape, t);
    else if (pick < 78)
      addSong(r, kShape, t);
    else
      changeEntries(r, kShape, t);
  }
  std::printf("%d %lld %lld %lld %lld %lld %lld %lld %lld %lld\n", done, t.increments, t.rereads, t.deleted,
              t.refused, t.renumbered, t.added, t.entries, t.busy, t.wrongReports);
  std::fflush(stdout);
  return 0;
}

int coordinate(const QString& dir, int operations, int seconds) {
  QDir(dir).removeRecursively();
  QDir().mkpath(dir);
  QDir::setCurrent(dir);
  bench::openCatalogue();
  bench::buildCatalogue(kShape);
  bench::closeCatalogue();
  std::printf("two stations, %d operations and %d s each, in %s\n", operations, seconds, qPrintable(dir));
  QElapsedTimer clock;
  clock.start();
  QProcess a, b;
  for (QProcess* p : {&a, &b}) {
    p->setWorkingDirectory(dir);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  }
  a.start(QCoreApplication::applicationFilePath(),
          {"worker", "1", QString::number(operations), QString::number(seconds)});
  b.start(QCoreApplication::applicationFilePath(),
          {"worker", "2", QString::number(operations), QString::number(seconds)});
  a.waitForFinished(-1);
  b.waitForFinished(-1);
  qint64 increments = 0, wrong = 0;
  for (QProcess* p : {&a, &b}) {
    const QStringList n = QString::fromUtf8(p->readAllStandardOutput()).split(' ', Qt::SkipEmptyParts);
    if (n.size() < 10) {
      std::printf("a station failed (exit %d)\n", p->exitCode());
      return 2;
    }
    std::printf(
        "station: %s operations, %s increments (%s re-read first), %s albums deleted, %s refused, "
        "%s categories renumbered, %s songs added, %s playlist changes, %s waits given up, %s wrong "
        "reports\n",
        qPrintable(n[0]), qPrintable(n[1]), qPrintable(n[2]), qPrintable(n[3]), qPrintable(n[4]),
        qPrintable(n[5]), qPrintable(n[6]), qPrintable(n[7]), qPrintable(n[8]), qPrintable(n[9].trimmed()));
    increments += n[1].toLongLong();
    wrong += n[9].trimmed().toLongLong();
  }
  bench::openCatalogue();
  qint64 counterSum = 0;
  const int broken = bench::brokenRelations(kShape, &counterSum);
  std::printf(
      "%.1f s; broken relations: %d; counter total %lld for %lld counted increments; wrong reports: %lld\n",
      clock.elapsed() / 1000.0, broken, counterSum, increments, wrong);
  const bool ok = broken == 0 && counterSum == increments && wrong == 0;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  // Nobody answers on a station under stress: every message takes its escape button.
  rt::answerEveryMessage();
  const QStringList args = QCoreApplication::arguments();
  int code = 1;
  rt::start([&] {
    if (args.size() >= 5 && args[1] == "worker")
      code = worker(args[2].toUInt(), args[3].toInt(), args[4].toInt());
    else
      code = coordinate(args.value(1, "/tmp/kvx98-stress"), args.value(2, "10000").toInt(),
                        args.value(3, "60").toInt());
    QCoreApplication::quit();
  });
  app.exec();
  return code;
}
