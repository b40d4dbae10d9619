// From starting the program to a frame that takes commands, on the million-song catalogue.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>

#include "platform/runtime/threads.h"
#include "platform/runtime/window.h"
#include "shell/shell.h"

namespace {

bool runUntil(const std::function<bool()>& done, int deadlineMs = 20000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > deadlineMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
  }
  return true;
}

bool frameUp() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow*>(w) && w->isVisible()) return true;
  return false;
}

void BM_FrameReady(benchmark::State& state) {
  for (auto _ : state) {
    const int program = rt::start(ProgramMain);
    // Usable: the frame is on screen and waits for the user (its thread has nothing left to do).
    if (!runUntil([] { return frameUp() && FrameThread != 0 && !rt::threadsReady(); }))
      state.SkipWithError("no frame");
    state.PauseTiming();
    rt::post(FrameThread, {rt::EventKind::CloseWindow});
    runUntil([program] { return !rt::isAlive(program); });
    state.ResumeTiming();
  }
}
// The first start of a process also looks every file over once; run this one first and alone
// (--benchmark_filter=FrameReady) to see it.
BENCHMARK(BM_FrameReady)
    ->Name("BM_FrameReady/first")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(BM_FrameReady)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

}  // namespace
