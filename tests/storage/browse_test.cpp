#include "storage/browse.h"

#include <gtest/gtest.h>

#include <QTabWidget>

#include "platform/files/transaction.h"
#include "platform/runtime/list_box.h"
#include "platform/runtime/threads.h"
#include "storage/file_access.h"
#include "storage/records.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

enum { kList = 1, kSheet = 2, kTabArtist = 3, kTabMedia = 4, kAdd = 5, kChange = 6, kDelete = 7 };

files::String<20> rangeMedia;

// A small browse over the songs: by artist, and by media limited to `rangeMedia`.
struct Harness {
  QString search;
  bool done = false;
  int changes = 0;

  void run() {
    OpenFile(Cantorix);
    OpenFile(Categories);
    rt::Window w({.title = "Harness", .size = {600, 400}, .kind = rt::WindowKind::Dialog});
    w.add({.kind = rt::ControlKind::Sheet, .number = kSheet, .rect = {0, 0, 600, 30}});
    w.add({.kind = rt::ControlKind::Tab, .number = kTabArtist, .text = "By Artist", .parent = kSheet});
    w.add({.kind = rt::ControlKind::Tab, .number = kTabMedia, .text = "By Media", .parent = kSheet});
    w.add({.kind = rt::ControlKind::List, .number = kList, .rect = {0, 30, 500, 360}});
    for (int b : {kAdd, kChange, kDelete})
      w.add({.kind = rt::ControlKind::Button,
             .number = b,
             .text = QString("B%1").arg(b),
             .rect = {510, 40 * b, 80, 30}});
    w.open();
    w.control(kList)->list()->setFormat("80L~Artist~@s50@60L~Media~@s20@60L~Category~@s30@");
    {
      Browse b(w, kList, kSheet, Cantorix,
               {{kTabArtist, &Cantorix.SongsByArtist},
                {kTabMedia, &Cantorix.SongsByMedia, "UPPER(MUS:Media) = UPPER(RANGE:Media)", &rangeMedia}},
               {.add = kAdd, .change = kChange, .remove = kDelete});
      b.names().bind(MUS);
      b.names().bind(CAT);
      b.names().bind("RANGE:Media", rangeMedia);
      b.setRowPreparation([] {
        CAT.CategoryID = MUS.CategoryID.get();
        if (!Categories.get(Categories.KeyCategoryID)) CAT.clear();
      });
      b.setColumns({[] { return MUS.Artist.value(); }, [] { return MUS.Media.value(); },
                    [] { return CAT.Category.value(); }});
      b.setSearch(search);
      while (w.accept()) {
        if (b.handle(w.event())) continue;
        if (w.event().kind == rt::EventKind::Accepted && w.event().control == kChange && b.readSelected()) {
          MUS.Artist = MUS.Artist.str() + " (changed)";
          EXPECT_TRUE(Cantorix.put().ok());
          ++changes;
          b.reloadOn(Cantorix.position());
        }
        if (w.event().kind == rt::EventKind::Accepted && w.event().control == kDelete && b.readSelected()) {
          EXPECT_TRUE(Cantorix.remove().ok());
          b.reload();
        }
      }
    }
    CloseFile(Categories);
    CloseFile(Cantorix);
    w.close();
    done = true;
  }
};

class BrowseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearRecordBuffers();
    ASSERT_TRUE(Cantorix.create().ok() && Categories.create().ok() && Cantorix.open().ok() &&
                Categories.open().ok());
    CAT.CategoryID = 1;
    CAT.Category = "Rock";
    ASSERT_TRUE(Categories.add().ok());
    ASSERT_TRUE(files::beginTransaction(2000, {&Cantorix}).ok());
    const struct {
      const char* artist;
      const char* media;
      int category;
    } songs[] = {{"Cure", "CD", 1},
                 {"ABBA", "cd", 0},
                 {"Blur", "LP", 1},
                 {"Doors", "Cd", 0},
                 {"Eagles", "CD Single", 1}};
    int id = 0;
    for (const auto& s : songs) {
      MUS.clear();
      MUS.ID = ++id;
      MUS.Artist = s.artist;
      MUS.Media = s.media;
      MUS.CategoryID = s.category;
      ASSERT_TRUE(Cantorix.add().ok());
    }
    ASSERT_TRUE(files::commit().ok());
    Cantorix.close();
    Categories.close();
  }
  void TearDown() override {
    if (QWidget* w = test::window("Harness")) w->close();
    test::runUntil([this] { return h.done; });
    rt::abandonAll();
  }
  void open(const QString& search = QString()) {
    h.search = search;
    rt::start([this] { h.run(); });
    ASSERT_TRUE(test::waitForWindow("Harness"));
    test::settle();
  }
  QStringList artists() {
    QStringList out;
    for (const QStringList& r : test::listRows(test::window("Harness")))
      out << r.value(0);
    return out;
  }
  void mediaTab() {
    test::window("Harness")->findChild<QTabWidget*>()->setCurrentIndex(1);
    test::settle();
  }

  test::Workspace ws;
  Harness h;
};

TEST_F(BrowseTest, ARangeTabShowsItsValueInAnyCase) {
  rangeMedia = "CD";
  open();
  mediaTab();
  EXPECT_EQ(artists(), QStringList({"Cure", "ABBA", "Doors"}));
}

TEST_F(BrowseTest, ASearchFilterJoinsTheRangeWhetherSqlCanRunItOrNot) {
  rangeMedia = "cd";
  open("MUS:CategoryID = 0");
  EXPECT_EQ(artists(), QStringList({"ABBA", "Doors"}));
  mediaTab();
  EXPECT_EQ(artists(), QStringList({"ABBA", "Doors"}));
  test::window("Harness")->close();
  test::runUntil([this] { return h.done; });

  h.done = false;
  open("CAT:Category = 'Rock'");  // a joined record's field: tested song by song
  EXPECT_EQ(artists(), QStringList({"Blur", "Cure", "Eagles"}));
  mediaTab();
  EXPECT_EQ(artists(), QStringList({"Cure"}));
}

TEST_F(BrowseTest, AFilterThatCannotBeUsedIsReportedAndIgnoredWithTheRange) {
  rangeMedia = "LP";
  open("MUS:Artist = ");
  ASSERT_TRUE(test::answer("OK", "attempting to open the current VIEW. Filter and Range Limits ignored."));
  mediaTab();
  ASSERT_TRUE(test::answer("OK", "Filter and Range Limits ignored."));
  EXPECT_EQ(artists().size(), 5) << "every song, the range limit dropped too";
}

TEST_F(BrowseTest, AChangedRecordIsShownWhereItNowStands) {
  open();
  QWidget* w = test::window("Harness");
  test::clickRow(w, 0);  // ABBA
  test::keyInList(w, Qt::Key_Return, Qt::ControlModifier);
  ASSERT_TRUE(test::runUntil([this] { return h.changes == 1; }));
  EXPECT_EQ(artists(), QStringList({"ABBA (changed)", "Blur", "Cure", "Doors", "Eagles"}));
  EXPECT_EQ(test::listSelection(w), 0);
}

TEST_F(BrowseTest, ADeletedRowLeavesTheRestOfThePageInPlace) {
  ASSERT_TRUE(Cantorix.open().ok());
  for (int i = 0; i < 60; ++i) {
    MUS.clear();
    MUS.ID = 100 + i;
    MUS.Artist = QString("Zed %1").arg(i, 2, 10, QChar('0'));
    ASSERT_TRUE(Cantorix.add().ok());
  }
  Cantorix.close();
  open();
  QWidget* w = test::window("Harness");
  test::keyInList(w, Qt::Key_PageDown);
  test::settle();
  const QStringList before = artists();
  ASSERT_GT(before.size(), 4);
  ASSERT_NE(before.first(), "ABBA") << "the page has moved down the file";
  test::clickRow(w, 2);
  test::keyInList(w, Qt::Key_Delete);
  test::settle();
  QStringList expected = before;
  expected.removeAt(2);
  EXPECT_EQ(artists().mid(0, expected.size()), expected);
  EXPECT_EQ(test::listSelection(w), 2) << "the next record takes the highlight";
  test::keyInList(w, Qt::Key_End);
  test::settle();
  const int last = int(artists().size()) - 1;
  test::clickRow(w, last);
  test::keyInList(w, Qt::Key_Delete);
  test::settle();
  EXPECT_EQ(artists().last(), "Zed 58") << "at the end of the file the page takes one from above";
  EXPECT_EQ(test::listSelection(w), last);
}

}  // namespace
