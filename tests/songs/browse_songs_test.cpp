#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>

#include "platform/files/transaction.h"
#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "platform/settings/settings_file.h"
#include "songs/songs.h"
#include "storage/file_access.h"
#include "storage/records.h"
#include "storage/settings.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

struct Song {
  int id;
  const char* artist;
  const char* title;
  const char* album = "";
  const char* media = "CD";
  int category = 0;
  int chart = 0;
  int bpm = 0;
};

class BrowseSongsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsFileName = "KVXPro98.INI";
    LoadPreferences();  // the defaults: none left over from another test
    clearRecordBuffers();
    for (files::File* f : databaseFiles())
      ASSERT_TRUE(f->create().ok());
    ASSERT_TRUE(Media.open().ok());
    for (const char* m : {"CD", "LP"}) {
      MED.Media = m;
      ASSERT_TRUE(Media.add().ok());
    }
    Media.close();
  }
  void TearDown() override {
    if (window()) test::window(window()->windowTitle())->close();
    test::runUntil([] { return rt::liveThreads() == 0; });
    rt::abandonAll();
    SettingsFileName.clear();
  }
  void songs(const std::vector<Song>& list) {
    ASSERT_TRUE(Cantorix.open().ok());
    ASSERT_TRUE(files::beginTransaction(2000, {&Cantorix}).ok());
    for (const Song& s : list) {
      MUS.clear();
      MUS.ID = s.id;
      MUS.Artist = s.artist;
      MUS.Title = s.title;
      MUS.Album = s.album;
      MUS.Media = s.media;
      MUS.CategoryID = s.category;
      MUS.ChartNumber = s.chart;
      MUS.BeatsPerMinute = s.bpm;
      ASSERT_TRUE(Cantorix.add().ok());
    }
    ASSERT_TRUE(files::commit().ok());
    Cantorix.close();
  }
  // Opens the browse and waits for its window.
  QWidget* open() {
    rt::start(BrowseSongs);
    EXPECT_TRUE(test::runUntil([this] { return window() != nullptr; }));
    test::settle();
    return window();
  }
  QWidget* window() const {
    for (const QString& t : test::windowTitles())
      if (t.startsWith("Songs - ")) return test::window(t);
    return nullptr;
  }
  void chooseTab(const QString& caption, QWidget* browse = nullptr) {
    QTabWidget* sheet = (browse ? browse : window())->findChild<QTabWidget*>();
    for (int i = 0; i < sheet->count(); ++i)
      if (sheet->tabText(i) == caption) sheet->setCurrentIndex(i);
    test::settle();
  }
  // One column shown of every row (0: the artist).
  QStringList column(int c, QWidget* browse = nullptr) {
    QStringList out;
    for (const QStringList& row : test::listRows(browse ? browse : window()))
      out << row.value(c);
    return out;
  }

  test::Workspace ws;
};

TEST_F(BrowseSongsTest, AnEmptyFileSaysSoAndGreysWhatNeedsASong) {
  QWidget* w = open();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->windowTitle(), "Songs - 0 entries");
  test::rightClickRow(w, 0);
  ASSERT_TRUE(test::runUntil([] { return !test::popupItems().isEmpty(); }));
  EXPECT_EQ(test::popupItems(),
            QStringList({"&Add", "~&Change", "~&Delete", "&Print", "&Search", "&Import", "&Export"}));
  ASSERT_TRUE(test::choosePopupItem("&Add"));
  ASSERT_TRUE(test::waitForWindow("Adding Information")) << "choosing an item presses its button";
  test::click(test::button(test::window("Adding Information"), "Cancel"));
}

TEST_F(BrowseSongsTest, TheTabsOrderTheSongsAndTheCategoryTabLeavesOutSongsWithoutOne) {
  songs({{1, "Cure", "Lullaby", "Disintegration", "CD", 2, 5, 120},
         {2, "ABBA", "Waterloo", "Waterloo", "LP", 0, 1, 0},
         {3, "beatles", "Yesterday", "Help", "cd", 1, 0, 98}});
  QWidget* w = open();
  EXPECT_EQ(w->windowTitle(), "Songs - 3 entries");
  EXPECT_EQ(column(0), QStringList({"ABBA", "beatles", "Cure"}));
  chooseTab("By Title");
  EXPECT_EQ(column(1), QStringList({"Lullaby", "Waterloo", "Yesterday"}));
  chooseTab("By Chart #");
  EXPECT_EQ(column(0), QStringList({"ABBA", "Cure"})) << "songs without a chart number are not in that order";
  chooseTab("By BPM");
  EXPECT_EQ(column(8), QStringList({"  98", " 120"}));
  chooseTab("By Category");
  EXPECT_EQ(column(0), QStringList()) << "no category chosen: no song, not even those without one";
}

TEST_F(BrowseSongsTest, TheRangeTabsShowWhatTheirSelectionListsChoose) {
  ASSERT_TRUE(Categories.open().ok());
  for (auto [id, name] : {std::pair{1, "Jazz"}, std::pair{2, "Rock"}}) {
    CAT.CategoryID = id;
    CAT.Category = name;
    ASSERT_TRUE(Categories.add().ok());
  }
  Categories.close();
  songs({{1, "Cure", "Lullaby", "", "CD", 2},
         {2, "ABBA", "Waterloo", "", "LP", 1},
         {3, "beatles", "Yesterday", "", "cd", 2}});
  QWidget* w = open();

  chooseTab("By Media");
  test::click(test::button(w, "Se&lect Media"));
  ASSERT_TRUE(test::waitForWindow("Browse Media Formats"));
  QWidget* media = test::window("Browse Media Formats");
  ASSERT_EQ(test::listRows(media), std::vector<QStringList>({{"CD"}, {"LP"}}));
  test::click(test::button(media, "&Select"));
  ASSERT_TRUE(test::runUntil([] { return !test::window("Browse Media Formats"); }));
  test::settle();
  EXPECT_EQ(column(1), QStringList({"Lullaby", "Yesterday"})) << "the media range ignores letter case";

  test::click(test::button(w, "Se&lect Media"));
  ASSERT_TRUE(test::waitForWindow("Browse Media Formats"));
  test::clickRow(test::window("Browse Media Formats"), 1);
  test::click(test::button(test::window("Browse Media Formats"), "E&xit"));
  ASSERT_TRUE(test::runUntil([] { return !test::window("Browse Media Formats"); }));
  test::settle();
  EXPECT_EQ(column(1), QStringList({"Lullaby", "Yesterday"})) << "leaving the list keeps the range";

  chooseTab("By Category");
  test::click(test::button(w, "Se&lect Category"));
  ASSERT_TRUE(test::waitForWindow("Categories"));
  test::clickRow(test::window("Categories"), 0);
  test::click(test::button(test::window("Categories"), "&Select"));
  ASSERT_TRUE(test::runUntil([] { return !test::window("Categories"); }));
  test::settle();
  EXPECT_EQ(column(0), QStringList({"ABBA"}));

  test::click(test::button(w, "&Add"));
  ASSERT_TRUE(test::waitForWindow("Adding Information"));
  EXPECT_EQ(MUS.CategoryID.get(), 1) << "a song added on the tab starts in its category";
  test::click(test::button(test::window("Adding Information"), "Cancel"));
}

TEST_F(BrowseSongsTest, TheUserDefinedTabTakesTenCharactersOfItsPrompt) {
  settings::write("KVXPro98.INI", "Settings", "UDKPrompt", "Producer and Engineer");
  LoadPreferences();
  QWidget* w = open();
  QStringList captions;
  QTabWidget* sheet = w->findChild<QTabWidget*>();
  for (int i = 0; i < sheet->count(); ++i)
    captions << sheet->tabText(i);
  EXPECT_EQ(captions, QStringList({"By Artist", "By Title", "By Album", "By Media", "By Category",
                                   "By Chart #", "By BPM", "By Producer a"}));
}

TEST_F(BrowseSongsTest, TypingLocatesTheFirstSongAtOrAfterTheText) {
  std::vector<Song> many;
  const char* artists[] = {"Abba", "Blondie", "Cure", "Depeche Mode", "Eurythmics", "Falco", "Genesis"};
  int id = 0;
  for (const char* a : artists)
    for (int n = 0; n < 6; ++n)
      many.push_back({++id, a, "Title", "", "CD", 0, 0, 0});
  many.push_back({++id, "Zappa", "Aardvark", "", "CD", 0, 0, 0});
  songs(many);
  QWidget* w = open();
  test::typeInList(w, "de");
  EXPECT_EQ(column(0).value(test::listSelection(w)), "Depeche Mode");
  EXPECT_EQ(column(0).value(0), "Depeche Mode") << "the page starts at the located song";
  test::typeInList(w, "x");
  EXPECT_EQ(column(0).value(0), "Eurythmics") << "\"dex\" is after every Depeche Mode song";
  test::keyInList(w, Qt::Key_Backspace);
  EXPECT_EQ(column(0).value(0), "Depeche Mode");
  chooseTab("By Title");
  EXPECT_EQ(column(1).value(0), "Aardvark") << "each tab keeps its own locator, empty at first";
  test::typeInList(w, "t");
  EXPECT_EQ(column(1).value(0), "Title");
}

TEST_F(BrowseSongsTest, ScrollingAndTheThumbMoveThroughTheWholeOrder) {
  std::vector<Song> many;
  for (int n = 1; n <= 200; ++n) {
    static QByteArray names[200];
    names[n - 1] = QString("Artist %1").arg(n, 3, 10, QChar('0')).toUtf8();
    many.push_back({n, names[n - 1].constData(), "Song", "", "CD", 0, 0, 0});
  }
  songs(many);
  QWidget* w = open();
  const int page = int(test::listRows(w).size());
  ASSERT_GT(page, 3);
  EXPECT_EQ(column(0).value(0), "Artist 001");
  test::keyInList(w, Qt::Key_PageDown);
  EXPECT_EQ(column(0).value(0), QString("Artist %1").arg(page + 1, 3, 10, QChar('0')));
  test::keyInList(w, Qt::Key_End);
  EXPECT_EQ(column(0).value(page - 1), "Artist 200");
  test::keyInList(w, Qt::Key_Home);
  EXPECT_EQ(column(0).value(0), "Artist 001");
  QString previous;
  for (int step = 0; step <= 100; step += 10) {
    test::dragThumb(w, step);
    const QString first = column(0).value(0);
    EXPECT_GE(first, previous) << "step " << step;
    previous = first;
  }
  EXPECT_EQ(column(0).last(), "Artist 200") << "the last step shows the end of the order";
}

TEST_F(BrowseSongsTest, InsertAddsASongAndTheListShowsItOnItsTab) {
  songs({{1, "Cure", "Lullaby"}});
  QWidget* w = open();
  test::keyInList(w, Qt::Key_Insert);
  ASSERT_TRUE(test::waitForWindow("Adding Information"));
  QWidget* form = test::window("Adding Information");
  test::enter(test::fieldByPrompt(form, "&Artist:"), "Abba");
  test::enter(test::fieldByPrompt(form, "&Title:"), "Waterloo");
  test::click(test::button(form, "&OK"));
  ASSERT_TRUE(test::runUntil([this] { return window() && window()->windowTitle() == "Songs - 2 entries"; }))
      << test::windowTitles().join("|").toStdString() << " / "
      << test::messageTexts().join("|").toStdString();
  EXPECT_EQ(column(0), QStringList({"Abba", "Cure"}));
  EXPECT_EQ(column(0).value(test::listSelection(window())), "Abba") << "the list stands on the new song";
}

TEST_F(BrowseSongsTest, ChangingASongShowsItWhereItNowStands) {
  songs({{1, "Abba", "Waterloo"}, {2, "Cure", "Lullaby"}});
  QWidget* w = open();
  test::clickRow(w, 0);
  test::keyInList(w, Qt::Key_Return, Qt::ControlModifier);
  ASSERT_TRUE(test::waitForWindow("Changing Information"));
  QWidget* form = test::window("Changing Information");
  test::enter(test::fieldByPrompt(form, "&Artist:"), "Zappa");
  test::click(test::button(form, "&OK"));
  ASSERT_TRUE(test::runUntil([this] { return column(0) == QStringList({"Cure", "Zappa"}); }));
  EXPECT_EQ(test::listSelection(w), 1);
}

TEST_F(BrowseSongsTest, TheColumnLayoutTheTabAndTheDatePictureFollowTheSettings) {
  settings::write("KVXPro98.INI", "Settings", "DateFormat", "d6");
  LoadPreferences();
  MUS.clear();
  songs({{1, "Cure", "Lullaby"}});
  ASSERT_TRUE(Cantorix.open().ok());
  MUS.ID = 1;
  ASSERT_TRUE(Cantorix.get(Cantorix.KeyID).ok());
  MUS.ReleaseDate = 36163 + 31;  // 1 February 1900
  ASSERT_TRUE(Cantorix.put().ok());
  Cantorix.close();

  QWidget* w = open();
  EXPECT_EQ(test::listRows(w).at(0).value(7), "01/02/1900") << "dates in the user's picture";
  QHeaderView* header = w->findChild<QTableView*>()->horizontalHeader();
  header->resizeSection(0, 300);  // as the user drags the Artist column wider
  chooseTab("By Title");
  w->close();
  ASSERT_TRUE(test::runUntil([this] { return window() == nullptr; }));
  test::settle();
  const QString saved = settings::read(".\\POSITION.INI", "BrowseSongs", "SRCF?Browse");
  EXPECT_TRUE(saved.startsWith("150L(2)|M~Artist~")) << saved.toStdString();
  EXPECT_EQ(settings::read("KVXPro98.INI", "Settings", "SongTab"), "2") << "the tab's place, from 1";

  w = open();
  EXPECT_EQ(w->findChild<QTableView*>()->horizontalHeader()->sectionSize(0), 300);
  const auto shownTab = [this] {
    const QTabWidget* sheet = window()->findChild<QTabWidget*>();
    return sheet->tabText(sheet->currentIndex());
  };
  EXPECT_EQ(shownTab(), "By Title");
  w->close();
  ASSERT_TRUE(test::runUntil([this] { return window() == nullptr; }));
  settings::write("KVXPro98.INI", "Settings", "SongTab", "3");
  open();
  EXPECT_EQ(shownTab(), "By Album");
}

TEST_F(BrowseSongsTest, TheLocatorFillsTheFirstKeyFieldOfEachTab) {
  songs({{1, "Cure", "Lullaby", "Disintegration", "CD", 1, 3, 120},
         {2, "ABBA", "Waterloo", "Arrival", "CD", 1, 1, 98},
         {3, "Blur", "Song 2", "Blur", "LP", 2, 10, 130}});
  QWidget* w = open();
  const struct {
    const char* tab;
    const char* typed;
    int column;
    const char* first;
  } cases[] = {{"By Artist", "c", 0, "Cure"},
               {"By Title", "w", 1, "Waterloo"},
               {"By Album", "b", 2, "Blur"},
               {"By Chart #", "3", 14, "3"},
               {"By BPM", "125", 8, " 130"}};
  for (const auto& c : cases) {
    chooseTab(c.tab);
    test::typeInList(w, c.typed);
    EXPECT_EQ(column(c.column).value(test::listSelection(w)), c.first) << c.tab;
  }
}

}  // namespace

// Two windows at once: what the user sees highlighted, and the record a form holds while it waits,
// are what gets changed or deleted, whatever another browse reads meanwhile.
class TwoWindowsTest : public BrowseSongsTest {
 protected:
  // Opens a second songs browse beside the first and waits until it has read its page.
  QWidget* openAnother(QWidget* first) {
    rt::start(BrowseSongs);
    QWidget* other = nullptr;
    EXPECT_TRUE(test::runUntil([&] {
      for (QWidget* w : test::windows(first->windowTitle()))
        if (w != first) other = w;
      return other != nullptr;
    }));
    test::settle();
    return other;
  }
  void closeAnother(QWidget* other) {
    other->close();
    test::settle();
  }
  // How many songs are stored, counted alongside the open windows (the file's open count shared).
  qint64 storedSongs() {
    EXPECT_TRUE(OpenFile(Cantorix));
    const qint64 n = Cantorix.records();
    CloseFile(Cantorix);
    return n;
  }
  // The stored song's artist/title/category.
  QString song(int id) {
    EXPECT_TRUE(OpenFile(Cantorix));
    MUS.ID = id;
    const QString text =
        Cantorix.get(Cantorix.KeyID)
            ? QString("%1/%2/%3").arg(MUS.Artist.str(), MUS.Title.str()).arg(int(MUS.CategoryID))
            : QString("(gone)");
    CloseFile(Cantorix);
    return text;
  }
};

TEST_F(TwoWindowsTest, ThePopupActsOnTheRowTheRightClickHighlights) {
  songs({{1, "Abba", "Waterloo"}, {2, "Mid", "Middle"}, {3, "Zed", "Zzz"}});
  QWidget* w = open();
  test::clickRow(w, 2);
  test::rightClickRow(w, 0);
  EXPECT_EQ(test::listSelection(w), 0);
  ASSERT_TRUE(test::runUntil([] { return !test::popupItems().isEmpty(); }));
  ASSERT_TRUE(test::choosePopupItem("&Change"));
  ASSERT_TRUE(test::waitForWindow("Changing Information"));
  QWidget* form = test::window("Changing Information");
  EXPECT_EQ(static_cast<QLineEdit*>(test::fieldByPrompt(form, "&Artist:"))->text(), "Abba");
  test::click(test::button(form, "Cancel"));
  ASSERT_TRUE(test::runUntil([] { return !test::window("Changing Information"); }));

  test::clickRow(w, 0);
  test::rightClickRow(w, 1);
  ASSERT_TRUE(test::runUntil([] { return !test::popupItems().isEmpty(); }));
  ASSERT_TRUE(test::choosePopupItem("&Delete"));
  ASSERT_TRUE(test::answer("OK", "Press OK to confirm deletion"));
  ASSERT_TRUE(test::runUntil([this] {
    return column(0) == QStringList({"Abba", "Zed"});
  })) << column(0).join(",").toStdString();
}

TEST_F(TwoWindowsTest, AFormSavesItsOwnSongWhileItsQuestionWaitsAndAnotherBrowseReads) {
  songs({{1, "Abba", "Waterloo"}, {2, "Zed", "Zzz"}});
  QWidget* w = open();
  test::clickRow(w, 1);
  test::keyInList(w, Qt::Key_Return, Qt::ControlModifier);
  ASSERT_TRUE(test::waitForWindow("Changing Information"));
  QWidget* form = test::window("Changing Information");
  test::enter(test::fieldByPrompt(form, "&Title:"), "Zzz (live)");
  test::enter(test::fieldByPrompt(form, "&Category:"), "Jazz");
  ASSERT_TRUE(test::runUntil([] { return test::messageBox("Add new category?"); }));
  QWidget* other = openAnother(w);  // reads Abba and Zed into the shared buffer
  ASSERT_TRUE(other);
  ASSERT_TRUE(test::answer("Yes", "Add new category?"));
  closeAnother(other);
  test::click(test::button(form, "&OK"));
  ASSERT_TRUE(test::runUntil([] { return !test::window("Changing Information"); }))
      << test::messageTexts().join("|").toStdString();
  EXPECT_EQ(song(1), "Abba/Waterloo/0");
  EXPECT_EQ(song(2), "Zed/Zzz (live)/1") << "the new category, on the song the form edits";
}

TEST_F(TwoWindowsTest, ADeleteConfirmedWhileAnotherBrowseScrollsDeletesTheHighlightedSong) {
  std::vector<Song> list;
  static const char* const artists[] = {"Abba", "Mid", "Zed"};
  for (int i = 0; i < 30; ++i)
    list.push_back({i + 1, artists[i % 3], "Song"});
  songs(list);
  QWidget* w = open();
  test::typeInList(w, "M");  // the first Mid, song 2, is highlighted
  ASSERT_EQ(column(0).value(test::listSelection(w)), "Mid");
  test::keyInList(w, Qt::Key_Delete);
  ASSERT_TRUE(test::runUntil([] { return test::messageBox("Press OK to confirm deletion"); }));
  QWidget* other = openAnother(w);
  test::keyInList(other, Qt::Key_End);  // the other browse reads to the last Zed
  test::settle();
  ASSERT_TRUE(test::answer("OK", "Press OK to confirm deletion"));
  closeAnother(other);
  EXPECT_EQ(storedSongs(), 29);
  EXPECT_EQ(song(2), "(gone)") << "the highlighted song went";
  EXPECT_EQ(song(30), "Zed/Song/0") << "not the one the other browse read last";
}

TEST_F(TwoWindowsTest, EachBrowseHasItsOwnRangeForAsLongAsItIsOpen) {
  songs({{1, "Cure", "Lullaby", "", "CD"}, {2, "ABBA", "Waterloo", "", "LP"}});
  const auto chooseMedia = [](QWidget* browse, int row) {
    test::click(test::button(browse, "Se&lect Media"));
    ASSERT_TRUE(test::waitForWindow("Browse Media Formats"));
    test::clickRow(test::window("Browse Media Formats"), row);
    test::click(test::button(test::window("Browse Media Formats"), "&Select"));
    ASSERT_TRUE(test::runUntil([] { return !test::window("Browse Media Formats"); }));
    test::settle();
  };
  QWidget* first = open();
  chooseTab("By Media", first);
  chooseMedia(first, 0);  // CD
  ASSERT_EQ(column(0, first), QStringList({"Cure"}));

  QWidget* second = openAnother(first);
  chooseTab("By Media", second);
  EXPECT_EQ(column(0, second), QStringList()) << "no media chosen in this browse yet";
  chooseMedia(second, 1);  // LP
  EXPECT_EQ(column(0, second), QStringList({"ABBA"}));
  chooseTab("By Title", first);
  chooseTab("By Media", first);
  EXPECT_EQ(column(0, first), QStringList({"Cure"})) << "the other browse's choice is its own";

  closeAnother(second);
  first->close();
  ASSERT_TRUE(test::runUntil([this] { return window() == nullptr; }));
  QWidget* again = open();
  EXPECT_EQ(column(0, again), QStringList()) << "reopened on the media tab, with no media chosen";
}
