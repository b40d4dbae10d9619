#include "bench/song_catalogue.h"
#include "bench/must.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>

#include "platform/files/transaction.h"
#include "storage/records.h"

namespace bench {
namespace {

// Written last, so an interrupted build is started again rather than measured.
const char* const kReadyMark = "catalogue.ready";

const char* const kWords[] = {"Love", "Night", "Heart", "Dance", "Fire",  "Rain", "Blue",  "Dream", "Girl",
                              "Road", "Time",  "Light", "Sky",   "Money", "Gold", "River", "Star",  "Moon",
                              "Soul", "Home",  "Über",  "Ärger", "Café",  "Noël", "Sun",   "Wild",  "Song"};

QString words(QRandomGenerator& r, int n) {
  QStringList out;
  for (int i = 0; i < n; ++i)
    out << kWords[r.bounded(int(std::size(kWords)))];
  return out.join(' ');
}

void build() {
  QRandomGenerator r(1998);
  for (files::File* f : databaseFiles())
    bench::must(f->create(), "f.create");
  bench::must(Cantorix.open(), "Cantorix.open");
  bench::must(Album.open(), "Album.open");
  bench::must(Categories.open(), "Categories.open");
  std::fprintf(stderr, "building %d songs in %s ...\n", kSongs, qPrintable(QDir::currentPath()));
  bench::must(files::beginTransaction(60000, {&Cantorix, &Album, &Categories}), "files::beginTransaction");
  for (int c = 1; c <= 40; ++c) {
    CAT.CategoryID = c;
    CAT.Category = QString("Category %1").arg(c);
    bench::must(Categories.add(), "Categories.add");
  }
  std::vector<QString> artists;
  for (int a = 0; a < 20000; ++a)
    artists.push_back(words(r, 2) + " " + QString::number(a));
  int id = 0;
  for (int a = 1; a <= kAlbums; ++a) {
    ALB.clear();
    ALB.AlbumID = a;
    ALB.Artist = artists[r.bounded(int(artists.size()))];
    ALB.Album = words(r, 3) + " " + QString::number(a);
    ALB.Media = "CD";
    ALB.FileNumber = QString("F%1").arg(a, 6, 10, QChar('0'));
    ALB.CategoryID = r.bounded(41);
    bench::must(Album.add(), "Album.add");
    const int tracks = kSongs / kAlbums + (a <= kSongs % kAlbums ? 1 : 0);
    for (int t = 1; t <= tracks; ++t) {
      MUS.clear();
      MUS.ID = ++id;
      MUS.Artist = ALB.Artist;
      MUS.Title = words(r, 3);
      MUS.Mix = r.bounded(5) == 0 ? QString("Remix %1").arg(r.bounded(9)) : QString();
      MUS.Album = ALB.Album;
      MUS.Media = ALB.Media;
      MUS.FileNumber = ALB.FileNumber;
      MUS.ReleaseDate = 36163 + r.bounded(45000);
      MUS.CategoryID = r.bounded(41);
      MUS.ChartNumber = r.bounded(4) == 0 ? r.bounded(1, 101) : 0;
      MUS.TrackNumber = t;
      MUS.Side = 1;
      MUS.Time = 1 + r.bounded(18000, 60000);
      MUS.BeatsPerMinute = r.bounded(3) == 0 ? r.bounded(60, 200) : 0;
      MUS.UserDefinedKeyField = r.bounded(10) == 0 ? words(r, 1) : QString();
      MUS.AlbumID = a;
      bench::must(Cantorix.add(), "Cantorix.add");
    }
  }
  bench::must(files::commit(), "files::commit");
  Cantorix.close();
  Album.close();
  Categories.close();
  QFile::remove("KVXPro98.INI");
  QFile ready(kReadyMark);
  ready.open(QIODevice::WriteOnly);
}

}  // namespace

QString enterCatalogue() {
  const QString dir = qEnvironmentVariable("KVX_BENCH_DIR", "/tmp/kvx98-bench");
  QDir().mkpath(dir);
  QDir::setCurrent(dir);
  if (!QFile::exists(kReadyMark)) {
    for (const QString& f : QDir().entryList({"*.tps", "*.INI", "kvx98.db"}))
      QFile::remove(f);
    build();
  }
  return dir;
}

}  // namespace bench
