// A catalogue of a size no user reaches, for the benchmarks: one million songs on 80,000 albums,
// built once in a folder of its own and reused by later runs.
#pragma once

#include <QString>

namespace bench {

inline constexpr int kSongs = 1'000'000;
inline constexpr int kAlbums = 80'000;

// The folder holding the catalogue (KVX_BENCH_DIR, default /tmp/kvx98-bench), built if missing.
// Changes the working directory into it.
QString enterCatalogue();

}  // namespace bench
