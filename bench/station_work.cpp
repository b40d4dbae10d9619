#include "bench/station_work.h"
#include "bench/must.h"

#include <set>

#include "platform/files/transaction.h"
#include "storage/file_access.h"
#include "storage/integrity.h"
#include "storage/records.h"

namespace bench {

namespace {

bool exists(files::File& f, files::Key& k) {
  return lookUp(f, k) == Lookup::Found;
}

}  // namespace

Lookup lookUp(files::File& file, files::Key& key) {
  const files::Status s = file.get(key);
  if (s) return Lookup::Found;
  return s.code == files::kRecordNotFound ? Lookup::Missing : Lookup::Unknown;
}

void openCatalogue() {
  for (files::File* f : databaseFiles())
    OpenFile(*f);
  OpenFile(A_Songs);
}

void closeCatalogue() {
  for (files::File* f : databaseFiles())
    CloseFile(*f);
  CloseFile(A_Songs);
}

void buildCatalogue(const Shape& shape) {
  bench::must(
      files::beginTransaction(10000, {&Cantorix, &Album, &Categories, &PlaylistMaster, &PlaylistDetails}),
      "files::beginTransaction");
  for (int c = 1; c <= shape.categories; ++c) {
    CAT.CategoryID = c;
    CAT.Category = QString("Category %1").arg(c);
    bench::must(Categories.add(), "Categories.add");
  }
  int id = 0;
  for (int c = 1; c <= shape.counters; ++c) {
    MUS.clear();
    MUS.ID = ++id;
    MUS.Title = QString("Counter %1").arg(c);
    bench::must(Cantorix.add(), "Cantorix.add");
  }
  for (int a = 1; a <= shape.albums; ++a) {
    ALB.clear();
    ALB.AlbumID = a;
    ALB.Album = QString("Album %1").arg(a);
    ALB.FileNumber = QString("F%1").arg(a);
    ALB.CategoryID = 1 + a % shape.albumCategories;
    bench::must(Album.add(), "Album.add");
    for (int t = 1; t <= shape.songsPerAlbum; ++t) {
      MUS.clear();
      MUS.ID = ++id;
      MUS.Title = QString("Song %1").arg(id);
      MUS.AlbumID = a;
      MUS.FileNumber = t % 2 ? ALB.FileNumber.str() : QString();
      MUS.CategoryID = 1 + id % shape.categories;
      MUS.TrackNumber = t;
      bench::must(Cantorix.add(), "Cantorix.add");
    }
  }
  const int songs = shape.albums * shape.songsPerAlbum;
  for (int p = 1; p <= shape.playlists; ++p) {
    PLD.PlaylistID = p;
    PLD.PlaylistDescription = QString("Playlist %1").arg(p);
    bench::must(PlaylistMaster.add(), "PlaylistMaster.add");
    for (int s = 1; s <= 5; ++s) {
      PLA.PlaylistID = p;
      PLA.PlaylistSeq = s;
      PLA.ID = shape.counters + 1 + (p * 37 + s * 11) % songs;
      bench::must(PlaylistDetails.add(), "PlaylistDetails.add");
    }
  }
  bench::must(files::commit(), "files::commit");
}

bool increment(QRandomGenerator& r, const Shape& shape, Tally& t) {
  for (int tries = 0; tries < 50; ++tries) {
    MUS.ID = 1 + r.bounded(shape.counters);
    Cantorix.watch();
    if (!Cantorix.get(Cantorix.KeyID)) return false;
    MUS.BeatsPerMinute += 1;
    const UpdateResult u = RIUpdate(Cantorix, false);
    if (u == UpdateResult::Done) {
      ++t.increments;
      return true;
    }
    if (u == UpdateResult::Reread) {
      ++t.rereads;
      continue;
    }
    ++t.busy;
    return false;
  }
  return false;
}

void deleteAlbum(QRandomGenerator& r, const Shape& shape, Tally& t, int share) {
  // One of the deletable albums (numbers first .. first + span - 1) of the station's parity.
  const int first = 1 + shape.keptAlbums, span = shape.albums - shape.keptAlbums;
  int album = first + 2 * r.bounded(span / 2);
  if (album % 2 != share % 2) ++album;
  ALB.AlbumID = album;
  if (!exists(Album, Album.KeyAlbumID)) return;
  const bool done = RIDelete(Album);
  ALB.AlbumID = album;
  const Lookup after = lookUp(Album, Album.KeyAlbumID);
  if (after == Lookup::Unknown) ++t.busy;
  if (after != Lookup::Unknown && done == (after == Lookup::Found)) ++t.wrongReports;
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

void renumberCategory(QRandomGenerator& r, const Shape& shape, Tally& t) {
  const int pick = 1 + r.bounded(shape.categories);
  CAT.CategoryID = pick;
  if (!exists(Categories, Categories.KeyCategoryID)) {
    CAT.CategoryID = 1000 + pick;
    if (!exists(Categories, Categories.KeyCategoryID)) return;
  }
  const qint64 from = CAT.CategoryID.get();
  // Swap between a low and a high number so the set of numbers stays small.
  CAT.CategoryID = from < 1000 ? from + 1000 : from - 1000;
  if (RIUpdate(Categories, false) == UpdateResult::Done) ++t.renumbered;
}

void addSong(QRandomGenerator& r, const Shape& shape, Tally& t) {
  if (!files::beginTransaction(2000, {&Cantorix, &Album})) {
    ++t.busy;
    return;
  }
  ALB.AlbumID = 1 + r.bounded(shape.albums);
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

void changeEntries(QRandomGenerator& r, const Shape& shape, Tally& t) {
  if (!files::beginTransaction(2000, {&Cantorix, &PlaylistDetails})) {
    ++t.busy;
    return;
  }
  bool ok = true;
  if (r.bounded(2)) {
    // Add an entry for a song that exists now, checked inside the transaction that adds it.
    MUS.ID = shape.counters + 1 + r.bounded(shape.albums * shape.songsPerAlbum);
    if (exists(Cantorix, Cantorix.KeyID)) {
      PLA.PlaylistID = 1 + r.bounded(shape.playlists);
      PLA.PlaylistSeq = 100 + r.bounded(1000000);
      PLA.ID = MUS.ID.get();
      ok = PlaylistDetails.add().ok();
    }
  } else {
    PLA.PlaylistID = 1 + r.bounded(shape.playlists);
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

int brokenRelations(const Shape& shape, qint64* counterSum) {
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
    if (MUS.ID <= shape.counters) *counterSum += MUS.BeatsPerMinute;
  }
  Album.setByPosition();
  while (Album.next().ok())
    if (ALB.CategoryID != 0 && !categories.count(ALB.CategoryID)) ++broken;
  PlaylistDetails.setByPosition();
  while (PlaylistDetails.next().ok())
    if (!songs.count(PLA.ID) || !playlists.count(PLA.PlaylistID)) ++broken;
  return broken;
}

}  // namespace bench
