#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "platform/runtime/threads.h"
#include "songs/songs.h"
#include "storage/records.h"
#include "storage/requests.h"
#include "storage/settings.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

using Filler = std::function<void()>;

class CategoriesMediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsFileName = "KVXPro98.INI";
    clearRecordBuffers();
    for (files::File* f : databaseFiles())
      ASSERT_TRUE(f->create().ok());
  }
  void TearDown() override {
    for (const char* title : {"Categories", "Browse Media Formats"})
      if (QWidget* w = test::window(title)) w->close();
    test::runUntil([] { return rt::liveThreads() == 0; });
    rt::abandonAll();
    GlobalRequest = GlobalResponse = 0;
    SettingsFileName.clear();
  }

  // Adds one record to `file` for each filler, which sets the blanked buffer's fields.
  static void fill(files::File& file, const std::vector<Filler>& records) {
    ASSERT_TRUE(file.open().ok());
    for (const Filler& r : records) {
      file.record().clear();
      r();
      ASSERT_TRUE(file.add().ok());
    }
    file.close();
  }
  static void categories(const std::vector<std::pair<int, const char*>>& list) {
    std::vector<Filler> records;
    for (const auto& [id, name] : list)
      records.push_back([id, name] {
        CAT.CategoryID = id;
        CAT.Category = name;
      });
    fill(Categories, records);
  }
  static void media(const QStringList& names) {
    std::vector<Filler> records;
    for (const QString& name : names)
      records.push_back([name] { MED.Media = name; });
    fill(Media, records);
  }
  // Every record's `value`, in the order of `key`.
  static QStringList read(files::File& file, files::Key& key, const std::function<QString()>& value) {
    QStringList out;
    if (!file.open().ok()) return out;
    file.set(key);
    while (file.next().ok())
      out << value();
    file.close();
    return out;
  }

  // Runs `procedure` on a program thread of its own with the request set, as its callers do, and
  // waits for `title`. The thread keeps the response and the media buffer it left.
  QWidget* run(void (*procedure)(), const QString& title, int request = 0) {
    rt::start([this, procedure, request] {
      GlobalRequest = request;
      procedure();
      response = GlobalResponse;
      mediaLeft = MED.Media.str();
    });
    EXPECT_TRUE(test::waitForWindow(title)) << title.toStdString();
    test::settle();
    return test::window(title);
  }
  static bool ended() {
    return test::runUntil([] { return rt::liveThreads() == 0; });
  }
  static QStringList names(QWidget* browse) {
    QStringList out;
    for (const QStringList& row : test::listRows(browse))
      out << row.value(0);
    return out;
  }
  // Replaces the text of the form's entry as a user does.
  static void retype(QWidget* form, const QString& text) {
    QLineEdit* entry = form->findChild<QLineEdit*>();
    ASSERT_TRUE(entry);
    test::pressKey(entry, Qt::Key_A, Qt::ControlModifier);
    test::type(entry, text);
  }
  static void press(QWidget* window, const QString& text) {
    QAbstractButton* b = test::button(window, text);
    ASSERT_TRUE(b) << text.toStdString();
    test::click(b);
  }

  test::Workspace ws;
  int response = 0;
  QString mediaLeft;
};

TEST_F(CategoriesMediaTest, TheMediaSelectionListReturnsTheChosenRecordOrNothing) {
  media({"LP", "CD", "Cassette (DBX)"});
  const struct {
    const char* how;
    int response;
    const char* media;  // in the buffer afterwards
  } cases[] = {{"&Select", RequestCompleted, "CD"},
               {"Enter", RequestCompleted, "CD"},
               {"popup", RequestCompleted, "CD"},
               {"E&xit", RequestCancelled, "MiniDisc"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    MED.Media = "MiniDisc";  // what the caller had in the buffer
    QWidget* w = run(BrowseMedia, "Browse Media Formats", SelectRecord);
    ASSERT_TRUE(w);
    EXPECT_EQ(names(w), QStringList({"Cassette (DBX)", "CD", "LP"}));
    auto* select = qobject_cast<QPushButton*>(test::button(w, "&Select"));
    ASSERT_TRUE(select);
    EXPECT_TRUE(select->isEnabled() && select->isDefault());
    const QString how = c.how;
    // The popup case clicks another row first: the right click must move the highlight, and the
    // list answer with the row it highlights.
    test::clickRow(w, how == "popup" ? 0 : 1);
    if (how == "Enter") {
      test::keyInList(w, Qt::Key_Return);
    } else if (how == "popup") {
      test::rightClickRow(w, 1);
      ASSERT_TRUE(test::runUntil([] { return !test::popupItems().isEmpty(); }));
      EXPECT_EQ(test::popupItems(), QStringList({"&Add", "&Change", "&Delete", "&Select"}));
      ASSERT_TRUE(test::choosePopupItem("&Select"));
    } else {
      press(w, how);
    }
    ASSERT_TRUE(ended());
    EXPECT_EQ(response, c.response);
    EXPECT_EQ(mediaLeft, c.media);
  }
}

TEST_F(CategoriesMediaTest, AsMaintenanceWindowsTheBrowsesOfferNoSelection) {
  categories({{1, "Rock"}});
  media({"CD"});
  const struct {
    void (*procedure)();
    const char* title;
    QStringList popup;
    const char* formTitle;
    const char* close;
  } cases[] = {{BrowseCategories,
                "Categories",
                {"&Insert", "&Change", "&Delete", "~&Select"},
                "Change Category",
                "Cl&ose"},
               {BrowseMedia,
                "Browse Media Formats",
                {"&Add", "&Change", "&Delete", "~&Select"},
                "Changing Media Format",
                "E&xit"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    QWidget* w = run(c.procedure, c.title);
    ASSERT_TRUE(w);
    EXPECT_EQ(test::button(w, "&Select"), nullptr);
    test::rightClickRow(w, 0);
    ASSERT_TRUE(test::runUntil([] { return !test::popupItems().isEmpty(); }));
    EXPECT_EQ(test::popupItems(), c.popup);
    ASSERT_TRUE(test::choosePopupItem("&Change"));
    ASSERT_TRUE(test::waitForWindow(c.formTitle));
    press(test::window(c.formTitle), "Cancel");
    press(w, c.close);
    ASSERT_TRUE(ended());
    EXPECT_EQ(response, RequestCancelled);
  }
}

TEST_F(CategoriesMediaTest, ACategoryNamedLikeAnotherInOtherLetterCaseIsRefused) {
  categories({{1, "Rock"}});
  QWidget* w = run(BrowseCategories, "Categories");
  ASSERT_TRUE(w);
  press(w, "&Insert");
  ASSERT_TRUE(test::waitForWindow("Add Category"));
  QWidget* form = test::window("Add Category");
  retype(form, "rOCK");
  press(form, "&Ok");
  EXPECT_TRUE(test::answer("OK", "Adding this record creates a duplicate entry for the key:CAT:KeyCategory"))
      << test::messageTexts().join("|").toStdString();
  ASSERT_TRUE(test::window("Add Category")) << "the form stays open";
  press(form, "Cancel");
  EXPECT_EQ(names(w), QStringList({"Rock"}));
  press(w, "Cl&ose");
  ASSERT_TRUE(ended());
  EXPECT_EQ(read(Categories, Categories.KeyCategoryID, [] { return CAT.Category.str(); }),
            QStringList({"Rock"}));
}

TEST_F(CategoriesMediaTest, ACancelledCategoryLeavesNoTraceAndTheFirstOneIsNumberOne) {
  QWidget* w = run(BrowseCategories, "Categories");
  ASSERT_TRUE(w);
  press(w, "&Insert");
  ASSERT_TRUE(test::waitForWindow("Add Category"));
  retype(test::window("Add Category"), "Blues");
  press(test::window("Add Category"), "Cancel");
  EXPECT_EQ(names(w), QStringList());

  press(w, "&Insert");
  ASSERT_TRUE(test::waitForWindow("Add Category"));
  retype(test::window("Add Category"), "Jazz");
  press(test::window("Add Category"), "&Ok");
  EXPECT_EQ(names(w), QStringList({"Jazz"}));
  EXPECT_EQ(test::listSelection(w), 0);
  press(w, "Cl&ose");
  ASSERT_TRUE(ended());
  EXPECT_EQ(read(Categories, Categories.KeyCategoryID,
                 [] { return QString("%1 %2").arg(CAT.CategoryID.get()).arg(CAT.Category.str()); }),
            QStringList({"1 Jazz"}));
}

TEST_F(CategoriesMediaTest, ACategoryInUseIsNotDeleted) {
  categories({{1, "Rock"}, {2, "Jazz"}});
  fill(Album, {[] {
         ALB.AlbumID = 1;
         ALB.Album = "Disintegration";
         ALB.CategoryID = 1;
       }});
  fill(Cantorix, {[] {
         MUS.ID = 1;
         MUS.Title = "So What";
         MUS.CategoryID = 2;
       }});
  QWidget* w = run(BrowseCategories, "Categories");
  ASSERT_TRUE(w);
  ASSERT_EQ(names(w), QStringList({"Jazz", "Rock"}));
  const struct {
    int row;
    const char* user;
  } cases[] = {{1, "Album"}, {0, "Cantorix"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user);
    test::clickRow(w, c.row);
    press(w, "&Delete");
    ASSERT_TRUE(test::answer("OK", "Press OK to confirm deletion"));
    EXPECT_TRUE(test::answer("OK", QString("This record is referenced from the file %1.").arg(c.user)))
        << test::messageTexts().join("|").toStdString();
    ASSERT_TRUE(test::answer("No", "An error was experienced deleting this record."));
    EXPECT_EQ(names(w), QStringList({"Jazz", "Rock"}));
  }
}

TEST_F(CategoriesMediaTest, RenamingAMediaFormatRenamesItsSongsButNotItsAlbums) {
  media({"CD", "Cassette (DBX)"});
  const std::pair<int, const char*> songs[] = {{1, "Cassette (DBX)"}, {2, "CD"}, {3, "Cassette (DBX)"}};
  std::vector<Filler> songRecords;
  for (const auto& [id, name] : songs)
    songRecords.push_back([id, name] {
      MUS.ID = id;
      MUS.Media = name;
    });
  fill(Cantorix, songRecords);
  fill(Album, {[] {
         ALB.AlbumID = 1;
         ALB.Album = "Live Tapes";
         ALB.Media = "Cassette (DBX)";
       }});

  QWidget* w = run(BrowseMedia, "Browse Media Formats");
  ASSERT_TRUE(w);
  ASSERT_EQ(names(w), QStringList({"Cassette (DBX)", "CD"}));
  test::clickRow(w, 0);
  press(w, "&Change");
  ASSERT_TRUE(test::waitForWindow("Changing Media Format"));
  retype(test::window("Changing Media Format"), "Tape");
  press(test::window("Changing Media Format"), "&Ok");
  EXPECT_EQ(names(w), QStringList({"CD", "Tape"}));
  EXPECT_EQ(names(w).value(test::listSelection(w)), "Tape") << "the page is shown on the renamed record";
  press(w, "E&xit");
  ASSERT_TRUE(ended());

  EXPECT_EQ(read(Cantorix, Cantorix.KeyID, [] { return MUS.Media.str(); }),
            QStringList({"Tape", "CD", "Tape"}));
  EXPECT_EQ(read(Album, Album.KeyAlbumID, [] { return ALB.Media.str(); }), QStringList({"Cassette (DBX)"}));
}

}  // namespace
