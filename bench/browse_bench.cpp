// The songs browse's work on the million-song catalogue: the first page of every tab (with and
// without a search filter; the media and category tabs limited to a value), a page of scrolling,
// a locator keystroke and a thumb drag, and the memory the open browse takes.
//
//   cmake --build build --target kvx98_browse_bench && build/kvx98_browse_bench
//
// The browse runs in a window as in the program, on a program thread; the benchmarks call its event
// handling directly, so what is measured is the browse's own work (reading and showing a page).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <cstdio>

#include "bench/song_catalogue.h"
#include "platform/runtime/list_box.h"
#include "platform/runtime/threads.h"
#include "platform/runtime/window.h"
#include "shell/artwork.h"
#include "storage/browse.h"
#include "storage/file_access.h"
#include "storage/records.h"

namespace {

enum { kList = 1, kSheet = 2, kFirstTab = 10 };

files::String<20> rangeMedia;
files::Long rangeCategory;
rt::Window* window = nullptr;
Browse* browse = nullptr;

const char* const kFilter = "MUS:BeatsPerMinute > 150";

qint64 residentBytes() {
  QFile f("/proc/self/statm");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> parts = f.readAll().split(' ');
  return parts.value(1).toLongLong() * 4096;
}

void showTab(int index) {
  window->control(kSheet)->selectTab(kFirstTab + index);
  browse->handle({rt::EventKind::NewSelection, kSheet});
}

void BM_FirstPage(benchmark::State& state) {
  const int tab = int(state.range(0));
  browse->setSearch(state.range(1) ? kFilter : "");
  for (auto _ : state) {
    state.PauseTiming();
    showTab(tab == 0 ? 1 : 0);
    state.ResumeTiming();
    showTab(tab);
  }
  state.SetLabel(
      QString("%1%2").arg(browse->tab().key->label(), state.range(1) ? " + filter" : "").toStdString());
  if (browse->isEmpty()) state.SkipWithError("empty page");
}
BENCHMARK(BM_FirstPage)->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_PageDown(benchmark::State& state) {
  browse->setSearch("");
  showTab(int(state.range(0)));
  for (auto _ : state)
    browse->handle({rt::EventKind::PageDown, kList});
  state.SetLabel(browse->tab().key->label().toStdString());
}
BENCHMARK(BM_PageDown)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

void BM_LocatorKey(benchmark::State& state) {
  browse->setSearch("");
  showTab(0);
  const QString keys = "lovenight";
  int i = 0;
  for (auto _ : state) {
    const QString k = keys.mid(i++ % keys.size(), 1);
    browse->handle({rt::EventKind::AlertKey, kList, 0, k});
    if (i % 4 == 0) {
      state.PauseTiming();
      for (int b = 0; b < 4; ++b)
        browse->handle({rt::EventKind::AlertKey, kList, Qt::Key_Backspace, QString()});
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_LocatorKey)->Unit(benchmark::kMillisecond);

void BM_ThumbDrag(benchmark::State& state) {
  browse->setSearch("");
  showTab(int(state.range(0)));
  int step = 0;
  for (auto _ : state)
    browse->handle({rt::EventKind::ScrollDrag, kList, (step += 37) % 101});
  state.SetLabel(browse->tab().key->label().toStdString());
}
BENCHMARK(BM_ThumbDrag)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

int run(int argc, char** argv) {
  OpenFile(Categories);
  OpenFile(Media);
  OpenFile(Cantorix);
  const qint64 before = residentBytes();
  rt::Window w({.title = "Browse Songs", .size = {820, 470}, .kind = rt::WindowKind::Dialog});
  w.add({.kind = rt::ControlKind::Sheet, .number = kSheet, .rect = {0, 0, 700, 30}});
  for (int t = 0; t < 8; ++t)
    w.add({.kind = rt::ControlKind::Tab,
           .number = kFirstTab + t,
           .text = QString("Tab %1").arg(t),
           .parent = kSheet});
  w.add({.kind = rt::ControlKind::List, .number = kList, .rect = {0, 30, 700, 430}});
  w.open();
  w.control(kList)->list()->setFormat(
      "77L(2)|M~Artist~@s50@75L(2)|M~Title~@s50@76L(2)|M~Album~@s50@39L(2)|M~Media~@s20@43L(2)|M~File "
      "Number~@s20@51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@36R(2)|M~Released~C(0)@d17b@");
  rangeMedia = "CD";
  rangeCategory = 5;
  Browse b(w, kList, kSheet, Cantorix,
           {{kFirstTab + 0, &Cantorix.SongsByArtist},
            {kFirstTab + 1, &Cantorix.SongsByTitle},
            {kFirstTab + 2, &Cantorix.SongsByAlbum},
            {kFirstTab + 3, &Cantorix.SongsByMedia, "UPPER(MUS:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)",
             &rangeMedia},
            {kFirstTab + 4, &Cantorix.SongsByCategory, "MUS:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID",
             &rangeCategory},
            {kFirstTab + 5, &Cantorix.SongsByChartNumber},
            {kFirstTab + 6, &Cantorix.KeyBeatsPerMinute},
            {kFirstTab + 7, &Cantorix.SongsByUserDefinedKey}},
           {});
  b.names().bind(MUS);
  b.names().bind(CAT);
  b.names().bind("BRW1::Sort3:Reset:MED:Media", rangeMedia);
  b.names().bind("BRW1::Sort4:Reset:CAT:CategoryID", rangeCategory);
  b.setRowPreparation([] {
    CAT.CategoryID = MUS.CategoryID.get();
    if (MUS.CategoryID == 0 || !Categories.get(Categories.KeyCategoryID)) CAT.clear();
  });
  b.setColumns({[] { return MUS.Artist.value(); }, [] { return MUS.Title.value(); },
                [] { return MUS.Album.value(); }, [] { return MUS.Media.value(); },
                [] { return MUS.FileNumber.value(); }, [] { return CAT.Category.value(); },
                [] { return MUS.Time.value(); }, [] { return MUS.ReleaseDate.value(); }});
  b.start();
  window = &w;
  browse = &b;
  std::printf("page: %d rows\n", b.rowCount());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("memory of the open browse beyond the program before it: %.1f MB\n",
              (residentBytes() - before) / 1048576.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  RegisterArtwork();
  bench::enterCatalogue();
  int code = 0;
  rt::start([&] {
    code = run(argc, argv);
    QCoreApplication::quit();
  });
  app.exec();
  return code;
}
