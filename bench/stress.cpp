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
#include <QRandomGenerator>
#include <cstdio>
#include <set>

#include "platform/files/transaction.h"
#include "platform/runtime/message.h"
#include "platform/runtime/threads.h"
#include "storage/file_access.h"
#include "storage/integrity.h"
#include "storage/records.h"

namespace {

constexpr int kAlbums = 2000, kSongsPerAlbum = 6, kCounters = 20, kPlaylists = 20, kCategories = 12;
// Albums use only the first few categories, so the others can be renumbered (their songs follow).
constexpr int kAlbumCategories = 3;

struct Tally {
  qint64 increments = 0, rereads = 0, deleted = 0, refused = 0, renumbered = 0, added = 0, entries = 0,
         busy = 0;
  qint64 wrongReports = 0;  // a routine said done but the change is not there, or failed and it is
};

void openAll() {
  for (files::File* f : databaseFiles())
    OpenFile(*f);
  OpenFile(A_Songs);
}

void build() {
  openAll();
  files::beginTransaction(10000, {&Cantorix, &Album, &Categories, &PlaylistMaster, &PlaylistDetails});
  for (int c = 1; c <= kCategories; ++c) {
    CAT.CategoryID = c;
    CAT.Category = QString("Category %1").arg(c);
    Categories.add();
  }
  int id = 0;
  for (int c = 1; c <= kCounters; ++c) {  // counters belong to no album and are never deleted
    MUS.clear();
    MUS.ID = ++id;
    MUS.Title = QString("Counter %1").arg(c);
    Cantorix.add();
  }
  for (int a = 1; a <= kAlbums; ++a) {
    ALB.clear();
    ALB.AlbumID = a;
    ALB.Album = QString("Album %1").arg(a);
    ALB.FileNumber = QString("F%1").arg(a);
    ALB.CategoryID = 1 + a % kAlbumCategories;
    Album.add();
    for (int t = 1; t <= kSongsPerAlbum; ++t) {
      MUS.clear();
      MUS.ID = ++id;
      MUS.Title = QString("Song %1").arg(id);
      MUS.AlbumID = a;
      MUS.FileNumber = t % 2 ? ALB.FileNumber.str() : QString();
      MUS.CategoryID = 1 + id % kCategories;
      MUS.TrackNumber = t;
      Cantorix.add();
    }
  }
  for (int p = 1; p <= kPlaylists; ++p) {
    PLD.PlaylistID = p;
    PLD.PlaylistDescription = QString("Playlist %1").arg(p);
    PlaylistMaster.add();
    for (int s = 1; s <= 5; ++s) {
      PLA.PlaylistID = p;
      PLA.PlaylistSeq = s;
      PLA.ID = kCounters + 1 + (p * 37 + s * 11) % (kAlbums * kSongsPerAlbum);
      PlaylistDetails.add();
    }
  }
  files::commit();
}

bool exists(files::File& f, files::Key& k) {
  return f.get(k).ok();
}

void increment(QRandomGenerator& r, Tally& t) {
  for (int tries = 0; tries < 50; ++tries) {
    MUS.ID = 1 + r.bounded(kCounters);
    Cantorix.watch();
    if (!Cantorix.get(Cantorix.KeyID)) return;
    MUS.BeatsPerMinute += 1;
    const UpdateResult u = RIUpdate(Cantorix, false);
    if (u == UpdateResult::Done) {
      ++t.increments;
      return;
    }
    if (u == UpdateResult::Reread) {
      ++t.rereads;
      continue;
    }
    ++t.busy;
    return;
  }
}

void deleteAlbum(QRandomGenerator& r, Tally& t) {
  ALB.AlbumID = 1 + r.bounded(kAlbums);
  if (!exists(Album, Album.KeyAlbumID)) return;
  const int album = ALB.AlbumID;
  const bool done = RIDelete(Album);
  ALB.AlbumID = album;
  const bool stillThere = exists(Album, Album.KeyAlbumID);
  if (done == stillThere) ++t.wrongReports;
  if (done) {
    ++t.deleted;
    A_S.AlbumID = album;
    A_S.Side = 0;
    A_S.TrackNumber = 0;
    A_Songs.setFrom(A_Songs.KeyAlbumID);
    if (A_Songs.next().ok() && A_S.AlbumID == album) ++t.wrongReports;  // a song outlived its album
  } else {
    ++t.refused;
  }
}

void renumberCategory(QRandomGenerator& r, Tally& t) {
  CAT.CategoryID = 1 + r.bounded(kCategories);
  if (!exists(Categories, Categories.KeyCategoryID)) {
    CAT.CategoryID = 1000 + r.bounded(kCategories);
    if (!exists(Categories, Categories.KeyCategoryID)) return;
  }
  const qint64 from = CAT.CategoryID.get();
  // Swap between a low and a high number so the set of numbers stays small.
  CAT.CategoryID = from < 1000 ? from + 1000 : from - 1000;
  if (RIUpdate(Categories, false) == UpdateResult::Done) ++t.renumbered;
}

void addSong(QRandomGenerator& r, Tally& t) {
  if (!files::beginTransaction(2000, {&Cantorix, &Album})) {
    ++t.busy;
    return;
  }
  ALB.AlbumID = 1 + r.bounded(kAlbums);
  bool added = false;
  if (exists(Album, Album.KeyAlbumID)) {
    Cantorix.set(Cantorix.KeyID);
    if (Cantorix.previous().ok()) {
      const qint64 next = MUS.ID + 1;
      MUS.clear();
      MUS.ID = next;
      MUS.Title = QString("Added %1").arg(next);
      MUS.AlbumID = ALB.AlbumID;
      MUS.FileNumber = ALB.FileNumber;
      added = Cantorix.add().ok();
    }
  }
  if (added && files::commit()) {
    ++t.added;
  } else {
    files::rollback();
  }
}

void changeEntries(QRandomGenerator& r, Tally& t) {
  if (!files::beginTransaction(2000, {&Cantorix, &PlaylistDetails})) {
    ++t.busy;
    return;
  }
  bool ok = true;
  if (r.bounded(2)) {
    // Add an entry for a song that exists now, checked inside the transaction that adds it.
    MUS.ID = kCounters + 1 + r.bounded(kAlbums * kSongsPerAlbum);
    if (exists(Cantorix, Cantorix.KeyID)) {
      PLA.PlaylistID = 1 + r.bounded(kPlaylists);
      PLA.PlaylistSeq = 100 + r.bounded(1000000);
      PLA.ID = MUS.ID.get();
      ok = PlaylistDetails.add().ok();
    }
  } else {
    PLA.PlaylistID = 1 + r.bounded(kPlaylists);
    PLA.PlaylistSeq = 0;
    PlaylistDetails.setFrom(PlaylistDetails.KeyPlaylistID);
    if (PlaylistDetails.next().ok()) ok = PlaylistDetails.remove().ok();
  }
  if (ok && files::commit()) {
    ++t.entries;
  } else {
    files::rollback();
  }
}

int worker(quint32 seed, int operations, int seconds) {
  openAll();
  QRandomGenerator r(seed);
  Tally t;
  QElapsedTimer clock;
  clock.start();
  int done = 0;
  for (; done < operations || clock.elapsed() < seconds * 1000; ++done) {
    const int pick = r.bounded(100);
    if (pick < 40)
      increment(r, t);
    else if (pick < 48)
      deleteAlbum(r, t);
    else if (pick < 58)
      renumberCategory(r, t);
    else if (pick < 78)
      addSong(r, t);
    else
      changeEntries(r, t);
  }
  std::printf("%d %lld %lld %lld %lld %lld %lld %lld %lld %lld\n", done, t.increments, t.rereads, t.deleted,
              t.refused, t.renumbered, t.added, t.entries, t.busy, t.wrongReports);
  std::fflush(stdout);
  return 0;
}

// Every relation of the catalogue; the number of broken ones.
int brokenRelations(qint64* counterSum) {
  int broken = 0;
  std::set<qint64> albums, categories, songs, playlists;
  Album.setByPosition();
  while (Album.next().ok())
    albums.insert(ALB.AlbumID);
  Categories.setByPosition();
  while (Categories.next().ok())
    categories.insert(CAT.CategoryID);
  PlaylistMaster.setByPosition();
  while (PlaylistMaster.next().ok())
    playlists.insert(PLD.PlaylistID);
  *counterSum = 0;
  Cantorix.setByPosition();
  while (Cantorix.next().ok()) {
    songs.insert(MUS.ID);
    if (MUS.AlbumID != 0 && !albums.count(MUS.AlbumID)) ++broken;
    if (MUS.CategoryID != 0 && !categories.count(MUS.CategoryID)) ++broken;
    if (MUS.ID <= kCounters) *counterSum += MUS.BeatsPerMinute;
  }
  Album.setByPosition();
  while (Album.next().ok())
    if (ALB.CategoryID != 0 && !categories.count(ALB.CategoryID)) ++broken;
  PlaylistDetails.setByPosition();
  while (PlaylistDetails.next().ok())
    if (!songs.count(PLA.ID) || !playlists.count(PLA.PlaylistID)) ++broken;
  return broken;
}

int coordinate(const QString& dir, int operations, int seconds) {
  QDir(dir).removeRecursively();
  QDir().mkpath(dir);
  QDir::setCurrent(dir);
  build();
  for (files::File* f : databaseFiles())
    CloseFile(*f);
  CloseFile(A_Songs);
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
  openAll();
  qint64 counterSum = 0;
  const int broken = brokenRelations(&counterSum);
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
