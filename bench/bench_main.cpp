// The benchmarks' entry: Qt on the offscreen platform, the catalogue, then Google Benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench/song_catalogue.h"
#include "shell/artwork.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  RegisterArtwork();
  bench::enterCatalogue();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
