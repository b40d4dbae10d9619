// Two stations killed at random moments, trial after trial, on the same files; after each trial
// every relation and every rolled-back change is checked.
//
//   kvx98_kill [DIR] [TRIALS]      (defaults: /tmp/kvx98-kill, 1000)
//
// A trial: stations A and B work on the catalogue at once (bench/station_work.h, plus two kinds of
// change that are always rolled back). A dies (SIGKILL) just before a random one of its steps on
// the files (a sync, a truncation, a journal created, a file deleted: crash_vfs.h), so inside
// commits, cascades and recoveries as often as between them; B goes on, meeting whatever A left
// behind, and is killed at a random moment up to 400 ms later. When the kills left a hot journal,
// the next start dies as well in half the trials, at a random step of its recovery. Then a fresh
// program opens every file, which looks each one over, and checks:
//   - every relation between the files;
//   - that no rolled-back change is on disk: no category numbered from 100000 (renumberings that
//     the integrity routine refused and rolled back), no song titled "Undone" and no playlist entry
//     numbered from 5000000 (transactions rolled back on purpose);
//   - the counters: their total grew by every increment a station saw committed, plus at most the
//     increments still in flight when it died.
// The stations themselves check every change they roll back at once, on their own connection (where
// an undo that did not happen stays visible). The files stay from one trial to the next, so what a
// trial leaves behind, journals included, meets the next one; the catalogue is built afresh when
// its albums run low. Prints the figures and PASS or FAIL.
//
// Station output, a line per event, written at once so that a kill loses none: "?" an increment
// begins, "+" it was committed, "-" it was not; "r" a refused renumbering checked, "u" a transaction
// rolled back on purpose checked, "w" a change or a check given up after the wait for the other
// station's locks; "bad <what>" a check that failed.
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <cstdio>
#include <vector>

#include "bench/crash_vfs.h"
#include "bench/must.h"
#include "bench/station_work.h"
#include "platform/files/transaction.h"
#include "platform/runtime/message.h"
#include "platform/runtime/threads.h"
#include "storage/integrity.h"
#include "storage/records.h"

namespace {

bench::Shape shape() {
  bench::Shape s;
  s.albums = 300;
  s.playlists = 10;
  s.keptAlbums = 30;  // so that every album category stays in use
  return s;
}
const bench::Shape kShape = shape();

constexpr qint64 kRefusedFrom = 100000;  // numbers given by renumberings that are refused
constexpr qint64 kUndoneSeqFrom = 5000000;
const QString kUndoneTitle = "Undone";

void say(const QString& line) {
  const QByteArray b = (line + "\n").toUtf8();
  if (::write(STDOUT_FILENO, b.constData(), size_t(b.size())) < 0) std::_Exit(3);
}

// --- a station -------------------------------------------------------------------------------

// Renumbers a category that albums use, which the update routine refuses and rolls back; then the
// station's own connection must show the old record and nothing at the new number.
void refusedRenumbering(QRandomGenerator& r) {
  using bench::Lookup;
  const qint64 from = 1 + r.bounded(kShape.albumCategories);
  CAT.CategoryID = from;
  const Lookup before = bench::lookUp(Categories, Categories.KeyCategoryID);
  if (before == Lookup::Missing) return say(QString("bad album category %1 is missing").arg(from));
  if (before == Lookup::Unknown) return say("w");
  const QString name = CAT.Category.str();
  const qint64 to = kRefusedFrom + r.bounded(900000);
  CAT.CategoryID = to;
  if (RIUpdate(Categories, false) == UpdateResult::Done)
    return say("bad a renumbering albums refuse was done");
  CAT.CategoryID = to;
  if (bench::lookUp(Categories, Categories.KeyCategoryID) == Lookup::Found)
    return say(QString("bad category %1 became %2").arg(from).arg(to));
  CAT.CategoryID = from;
  const Lookup after = bench::lookUp(Categories, Categories.KeyCategoryID);
  if (after == Lookup::Missing || (after == Lookup::Found && CAT.Category.str() != name))
    return say(QString("bad category %1 is gone after a refused renumbering").arg(from));
  say(after == Lookup::Found ? "r" : "w");
}

// Retitles three songs and adds a playlist entry in one transaction, then rolls it back.
void undoneOnPurpose(QRandomGenerator& r) {
  if (!files::beginTransaction(2000, {&Cantorix, &PlaylistDetails})) return say("w");
  std::vector<qint64> retitled;
  for (int i = 0; i < 3; ++i) {
    MUS.ID = kShape.counters + 1 + r.bounded(kShape.albums * kShape.songsPerAlbum);
    if (!Cantorix.get(Cantorix.KeyID)) continue;
    MUS.Title = kUndoneTitle;
    if (Cantorix.put()) retitled.push_back(MUS.ID.get());
  }
  const qint64 playlist = 1 + r.bounded(kShape.playlists), seq = kUndoneSeqFrom + r.bounded(1000000);
  PLA.clear();
  PLA.PlaylistID = playlist;
  PLA.PlaylistSeq = seq;
  PLA.ID = 1;  // a counter song, never deleted
  bench::must(PlaylistDetails.add(), "PlaylistDetails.add");
  files::rollback();
  for (const qint64 id : retitled) {
    MUS.ID = id;
    if (bench::lookUp(Cantorix, Cantorix.KeyID) == bench::Lookup::Found && MUS.Title.str() == kUndoneTitle)
      return say(QString("bad song %1 kept a rolled-back title").arg(id));
  }
  PLA.PlaylistID = playlist;
  PLA.PlaylistSeq = seq;
  if (bench::lookUp(PlaylistDetails, PlaylistDetails.KeyPlaylistID) == bench::Lookup::Found)
    return say("bad a rolled-back playlist entry stayed");
  say("u");
}

[[noreturn]] void station(quint32 seed) {
  bench::openCatalogue();
  QRandomGenerator r(seed);
  bench::Tally t;
  for (;;) {
    const qint64 wrong = t.wrongReports, busy = t.busy;
    const int pick = r.bounded(100);
    if (pick < 15) {
      say("?");
      say(bench::increment(r, kShape, t) ? "+" : "-");
    } else if (pick < 35) {
      bench::renumberCategory(r, kShape, t);
    } else if (pick < 55) {
      refusedRenumbering(r);
    } else if (pick < 70) {
      undoneOnPurpose(r);
    } else if (pick < 75) {
      bench::deleteAlbum(r, kShape, t, int(seed % 2));
    } else if (pick < 88) {
      bench::addSong(r, kShape, t);
    } else {
      bench::changeEntries(r, kShape, t);
    }
    if (t.wrongReports != wrong) say("bad an album deletion's report did not match the files");
    if (t.busy != busy) say("w");
  }
}

// --- after a trial ----------------------------------------------------------------------------

int recover() {
  bench::openCatalogue();
  bench::closeCatalogue();
  return 0;
}

// Opens every file afresh (each one is looked over on its first open in a process) and checks it.
int check() {
  std::vector<files::File*> all = databaseFiles();
  all.push_back(&A_Songs);
  for (files::File* f : all)
    if (files::Status s = f->open(); !s)
      say(QString("bad %1 does not open: %2 %3 %4").arg(f->label()).arg(s.code).arg(s.text, s.driverText));
  qint64 sum = 0;
  const int broken = bench::brokenRelations(kShape, &sum);
  int undone = 0, albums = 0;
  Categories.setByPosition();
  while (Categories.next().ok())
    undone += CAT.CategoryID.get() >= kRefusedFrom;
  Cantorix.setByPosition();
  while (Cantorix.next().ok())
    undone += MUS.Title.str() == kUndoneTitle || MUS.CategoryID.get() >= kRefusedFrom;
  PlaylistDetails.setByPosition();
  while (PlaylistDetails.next().ok())
    undone += PLA.PlaylistSeq.get() >= kUndoneSeqFrom;
  Album.setByPosition();
  while (Album.next().ok())
    ++albums;
  say(QString("check %1 %2 %3 %4").arg(broken).arg(undone).arg(sum).arg(albums));
  return 0;
}

// --- the trials -------------------------------------------------------------------------------

struct Figures {
  int trials = 0, failed = 0, builds = 0, aDiedAtChange = 0, trialsLeavingHot = 0, recoveriesStarted = 0,
      recoveriesKilled = 0, leftJournals = 0, leftHot = 0, straySuper = 0;
  qint64 increments = 0, inFlight = 0, refusedChecked = 0, undoneChecked = 0, waitsGivenUp = 0;
};

struct StationLog {
  qint64 committed = 0, inFlight = 0, refused = 0, undone = 0, waited = 0;
  QStringList bad;
};

StationLog readLog(QProcess& p) {
  StationLog log;
  qint64 begun = 0, ended = 0;
  for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
    if (line == "?") ++begun;
    if (line == "+") ++log.committed, ++ended;
    if (line == "-") ++ended;
    if (line == "r") ++log.refused;
    if (line == "u") ++log.undone;
    if (line == "w") ++log.waited;
    if (line.startsWith("bad ")) log.bad << line.mid(4);
  }
  log.inFlight = begun - ended;
  return log;
}

void start(QProcess& p, const QStringList& arguments) {
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(QCoreApplication::applicationFilePath(), arguments);
  p.waitForStarted(10000);
}

void killNow(QProcess& p) {
  p.kill();
  p.waitForFinished(10000);
}

// Counts the journals the killed stations left in the folder; whether one of them is hot.
bool countLeftovers(Figures& f) {
  const QDir dir = QDir::current();
  bool hot = false;
  for (const QString& name : dir.entryList({"*-journal"}, QDir::Files)) {
    ++f.leftJournals;
    QFile j(dir.filePath(name));
    char first = 0;
    if (j.open(QIODevice::ReadOnly) && j.read(&first, 1) == 1 && first != 0) ++f.leftHot, hot = true;
  }
  f.trialsLeavingHot += hot;
  return hot;
}

// Super-journals of multi-file commits that never finished whose journals are all gone: nothing
// ever deletes them (harmless: no journal names them).
int strayingSuperJournals() {
  return int(QDir::current().entryList({"kvx98.db-mj*"}, QDir::Files).size());
}

void build(Figures& f) {
  f.straySuper += strayingSuperJournals();
  const QString dir = QDir::currentPath();
  QDir(dir).removeRecursively();
  QDir().mkpath(dir + "/config");
  QDir::setCurrent(dir);
  bench::openCatalogue();
  bench::buildCatalogue(kShape);
  bench::closeCatalogue();
  ++f.builds;
}

int coordinate(const QString& dir, int trials) {
  QDir().mkpath(dir);
  QDir::setCurrent(dir);
  // The crash marker and every other setting of the stations stay in the folder too.
  qputenv("XDG_CONFIG_HOME", (dir + "/config").toUtf8());
  std::printf("%d trials of two stations killed at random moments, in %s\n", trials, qPrintable(dir));
  std::fflush(stdout);
  QRandomGenerator r(20261211);
  Figures f;
  QElapsedTimer clock;
  clock.start();
  qint64 counters = 0;
  bool rebuild = true;
  for (int trial = 1; trial <= trials; ++trial) {
    if (rebuild) {
      build(f);
      counters = 0;
    }
    QStringList failures;
    QProcess a, b, recovery, checker;
    const long aDiesAt = 1 + long(r.bounded(600));
    // Seeds of either parity: the stations delete albums of their own (see deleteAlbum).
    start(a, {"station", QString::number(r.generate() & ~1u), QString::number(aDiesAt)});
    start(b, {"station", QString::number(r.generate() | 1u), "0"});
    if (a.waitForFinished(20000))
      ++f.aDiedAtChange;
    else
      killNow(a);  // it never reached that step
    b.waitForFinished(int(r.bounded(400)));
    killNow(b);
    if (countLeftovers(f) && r.bounded(2)) {
      ++f.recoveriesStarted;
      start(recovery, {"recover", QString::number(1 + r.bounded(6))});
      recovery.waitForFinished(60000);
      f.recoveriesKilled += recovery.exitStatus() == QProcess::CrashExit;
    }
    start(checker, {"check"});
    checker.waitForFinished(120000);
    qint64 committed = 0, inFlight = 0;
    for (QProcess* p : {&a, &b}) {
      const StationLog log = readLog(*p);
      committed += log.committed;
      inFlight += log.inFlight;
      f.refusedChecked += log.refused;
      f.undoneChecked += log.undone;
      f.waitsGivenUp += log.waited;
      for (const QString& bad : log.bad)
        failures << QString("station %1: %2").arg(p == &a ? "A" : "B", bad);
    }
    f.increments += committed;
    f.inFlight += inFlight;
    const QString out = QString::fromUtf8(checker.readAllStandardOutput());
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    QStringList result;
    for (const QString& line : lines) {
      if (line.startsWith("bad ")) failures << "after recovery: " + line.mid(4);
      if (line.startsWith("check ")) result = line.split(' ');
    }
    if (result.size() != 5) {
      failures << "the check did not finish: " + out.trimmed();
    } else {
      const qint64 broken = result[1].toLongLong(), undone = result[2].toLongLong(),
                   sum = result[3].toLongLong();
      if (broken) failures << QString("%1 broken relations").arg(broken);
      if (undone) failures << QString("%1 rolled-back changes on disk").arg(undone);
      if (sum < counters + committed || sum > counters + committed + inFlight)
        failures << QString("counters total %1, expected %2 to %3")
                        .arg(sum)
                        .arg(counters + committed)
                        .arg(counters + committed + inFlight);
      counters = sum;
      rebuild = result[4].toInt() < kShape.albums * 2 / 3;
    }
    ++f.trials;
    if (!failures.isEmpty()) {
      ++f.failed;
      std::printf("trial %d (A died at step %ld): %s\n", trial, aDiesAt, qPrintable(failures.join("; ")));
      rebuild = true;  // start the next trial from sound files
    }
    if (trial % 50 == 0)
      std::printf("%d trials, %d failed, %.0f s\n", trial, f.failed, clock.elapsed() / 1000.0);
    std::fflush(stdout);
  }
  f.straySuper += strayingSuperJournals();
  std::printf(
      "%d trials in %.0f s (%d catalogues built); A died at its chosen step in %d;\n"
      "the kills left %d journals, %d of them hot, in %d trials; in %d of those the next start ran with\n"
      "a kill armed, and %d died during their recovery; super-journals nobody will delete: %d;\n"
      "checked: %lld committed increments (%lld in flight at a kill), %lld refused renumberings and %lld\n"
      "transactions rolled back on purpose, each on the station's own connection and again on disk;\n"
      "not checked: %lld changes or reads given up after the wait for the other station's locks;\n"
      "failed trials: %d\n%s\n",
      f.trials, clock.elapsed() / 1000.0, f.builds, f.aDiedAtChange, f.leftJournals, f.leftHot,
      f.trialsLeavingHot, f.recoveriesStarted, f.recoveriesKilled, f.straySuper, f.increments, f.inFlight,
      f.refusedChecked, f.undoneChecked, f.waitsGivenUp, f.failed, f.failed ? "FAIL" : "PASS");
  return f.failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  const QString role = args.value(1);
  if ((role == "station" || role == "recover") && args.value(role == "station" ? 3 : 2).toLong() > 0)
    bench::dieAtStep(args.value(role == "station" ? 3 : 2).toLong());
  // Nobody answers on these stations: every message takes its escape button.
  rt::answerEveryMessage();
  int code = 1;
  rt::start([&] {
    if (role == "station")
      station(args.value(2).toUInt());
    else if (role == "recover")
      code = recover();
    else if (role == "check")
      code = check();
    else
      code = coordinate(args.value(1, "/tmp/kvx98-kill"), args.value(2, "1000").toInt());
    QCoreApplication::quit();
  });
  app.exec();
  return code;
}
