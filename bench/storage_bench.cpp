// Single-record work on the million-song catalogue: adding a song the way the song form does,
// reading one by its number, and stepping along each key of the songs file.
#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include "bench/must.h"
#include "bench/song_catalogue.h"
#include "platform/files/transaction.h"
#include "storage/auto_number.h"
#include "storage/records.h"

namespace {

void BM_AddSong(benchmark::State& state) {
  bench::must(Cantorix.open(), "Cantorix.open");
  std::vector<files::Position> added;
  for (auto _ : state) {
    MUS.clear();
    MUS.Artist = "Benchmark Artist";
    MUS.Title = "Benchmark Song";
    MUS.Media = "CD";
    MUS.AlbumID = 77;
    MUS.Side = 1;
    if (!NumberAndAdd(Cantorix)) state.SkipWithError("add failed");
    added.push_back(Cantorix.position());
  }
  // Leave the catalogue as it was for the next run (after the loop: not timed).
  bench::must(files::beginTransaction(10000, {&Cantorix}), "files::beginTransaction");
  for (files::Position p : added)
    if (Cantorix.get(p).ok()) bench::must(Cantorix.remove(), "Cantorix.remove");
  bench::must(files::commit(), "files::commit");
  Cantorix.close();
}
BENCHMARK(BM_AddSong)->Unit(benchmark::kMicrosecond);

void BM_GetByKeyID(benchmark::State& state) {
  bench::must(Cantorix.open(), "Cantorix.open");
  QRandomGenerator r(7);
  for (auto _ : state) {
    MUS.ID = r.bounded(1, bench::kSongs + 1);
    if (!Cantorix.get(Cantorix.KeyID).ok()) state.SkipWithError("song not found");
  }
  Cantorix.close();
}
BENCHMARK(BM_GetByKeyID)->Unit(benchmark::kMicrosecond);

// Steps forward along one key from a random song, a step an iteration, starting again at the end.
void BM_NextAlongKey(benchmark::State& state) {
  bench::must(Cantorix.open(), "Cantorix.open");
  files::Key& key = *Cantorix.keys()[state.range(0)];
  state.SetLabel(key.label().toStdString());
  QRandomGenerator r(11);
  Cantorix.resetTo(key, r.bounded(1, bench::kSongs + 1));
  for (auto _ : state) {
    if (!Cantorix.next().ok()) Cantorix.set(key);
  }
  Cantorix.close();
}
BENCHMARK(BM_NextAlongKey)->DenseRange(0, 11)->Unit(benchmark::kMicrosecond);

}  // namespace
