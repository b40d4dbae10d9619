// The songs browse on the million-song catalogue, measured in its real window: the first page of
// every tab (the media and category tabs limited to a value chosen through their selection lists),
// a page of scrolling, a locator keystroke and a thumb drag, and the memory the open browse takes.
//
//   cmake --build build --target kvx98_browse_bench && build/kvx98_browse_bench
//
// BrowseSongs runs as in the program, on a program thread of its own. Each benchmark does what a
// user does (chooses a tab, presses a key, drags the thumb) and times until the browse has shown
// the page and waits again; so what is measured is the browse's own work, events included.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <cstdio>

#include "bench/song_catalogue.h"
#include "platform/runtime/threads.h"
#include "shell/artwork.h"
#include "shell/shell.h"
#include "songs/songs.h"
#include "storage/file_access.h"
#include "storage/records.h"
#include "storage/settings.h"

namespace {

QWidget* browseWindow = nullptr;
QTabWidget* sheet = nullptr;
QTableView* list = nullptr;

qint64 residentBytes() {
  QFile f("/proc/self/statm");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> parts = f.readAll().split(' ');
  return parts.value(1).toLongLong() * 4096;
}

// Runs the event loop until every program thread waits again and nothing is left to deliver.
void idle() {
  for (int quiet = 0; quiet < 2;) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    quiet = rt::threadsReady() ? 0 : quiet + 1;
  }
}

QWidget* windowTitled(const QString& prefix) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle().startsWith(prefix)) return w;
  return nullptr;
}

QWidget* waitForWindow(const QString& prefix) {
  QWidget* w = nullptr;
  while (!(w = windowTitled(prefix)))
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
  idle();
  return w;
}

void press(QWidget* window, const QString& text) {
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
    if (b->isVisible() && b->text() == text) b->click();
  idle();
}

void showTab(int index) {
  sheet->setCurrentIndex(index);
  idle();
}

// Chooses, in the selection list the range tab's button opens, the row that shows `value` (the
// first row when `value` is empty).
void chooseRange(int tab, const QString& button, const QString& listTitle, const QString& value) {
  showTab(tab);
  press(browseWindow, button);
  QWidget* chooser = waitForWindow(listTitle);
  QTableView* rows = chooser->findChild<QTableView*>();
  int row = 0;
  for (int r = 0; r < rows->model()->rowCount(); ++r)
    if (rows->model()->index(r, 0).data().toString() == value) row = r;
  QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier,
                    rows->visualRect(rows->model()->index(row, 0)).center());
  idle();
  press(chooser, "&Select");
}

void BM_FirstPage(benchmark::State& state) {
  const int tab = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    showTab(tab == 0 ? 1 : 0);
    state.ResumeTiming();
    showTab(tab);
  }
  state.SetLabel(sheet->tabText(tab).toStdString());
  if (list->model()->rowCount() == 0) state.SkipWithError("empty page");
}
BENCHMARK(BM_FirstPage)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

void BM_PageDown(benchmark::State& state) {
  showTab(int(state.range(0)));
  list->setFocus();
  for (auto _ : state) {
    QTest::keyClick(list, Qt::Key_PageDown);
    idle();
  }
  state.SetLabel(sheet->tabText(int(state.range(0))).toStdString());
}
BENCHMARK(BM_PageDown)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

void BM_LocatorKey(benchmark::State& state) {
  showTab(0);
  list->setFocus();
  const QString keys = "lovenight";
  int i = 0;
  for (auto _ : state) {
    QTest::keyClicks(list, keys.mid(i++ % keys.size(), 1));
    idle();
    if (i % 4 == 0) {
      state.PauseTiming();
      for (int b = 0; b < 4; ++b)
        QTest::keyClick(list, Qt::Key_Backspace);
      idle();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_LocatorKey)->Unit(benchmark::kMillisecond);

void BM_ThumbDrag(benchmark::State& state) {
  showTab(int(state.range(0)));
  QScrollBar* thumb = nullptr;
  for (QScrollBar* b : browseWindow->findChildren<QScrollBar*>())
    if (b->orientation() == Qt::Vertical && b->maximum() == 100 && b->isVisible()) thumb = b;
  int step = 0;
  for (auto _ : state) {
    thumb->setSliderDown(true);
    thumb->setSliderPosition((step += 37) % 101);
    thumb->setSliderDown(false);
    idle();
  }
  state.SetLabel(sheet->tabText(int(state.range(0))).toStdString());
}
BENCHMARK(BM_ThumbDrag)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  RegisterArtwork();
  bench::enterCatalogue();
  SettingsFileName = "KVXPro98.INI";
  LoadPreferences();
  // The media selection list lists the Media file, as the program fills it at its first start.
  OpenFile(Media);
  FillDefaultMedia();
  CloseFile(Media);

  const qint64 before = residentBytes();
  rt::start(BrowseSongs);
  browseWindow = waitForWindow("Songs - ");
  sheet = browseWindow->findChild<QTabWidget*>();
  list = browseWindow->findChild<QTableView*>();
  chooseRange(3, "Se&lect Media", "Browse Media Formats", "CD");  // every song
  chooseRange(4, "Se&lect Category", "Categories", QString());    // the first, a fortieth of them
  std::printf("%s, page: %d rows\n", qPrintable(browseWindow->windowTitle()), list->model()->rowCount());

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("memory of the open browse beyond the program before it: %.1f MB\n",
              (residentBytes() - before) / 1048576.0);
  browseWindow->close();
  idle();
  return 0;
}
