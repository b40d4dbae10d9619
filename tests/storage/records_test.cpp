#include "storage/records.h"

#include <gtest/gtest.h>

#include "tests/support/workspace.h"

namespace {

using files::Status;

// Bytes the fixed part of a record takes in the stored layout: texts at their width, BYTE 1, LONG 4,
// DECIMAL(d) packed two digits a byte with a sign nibble.
int storedBytes(const files::Record& r) {
  int n = 0;
  for (const files::Field* f : r.fields()) {
    switch (f->type()) {
      case files::FieldType::String:
        n += f->width();
        break;
      case files::FieldType::Byte:
        n += 1;
        break;
      case files::FieldType::Long:
        n += 4;
        break;
      case files::FieldType::Decimal:
        n += f->width() / 2 + 1;
        break;
      case files::FieldType::Memo:
        break;
    }
  }
  return n;
}

// Every test works on the program's own globals in a fresh working directory; whatever a test
// opened is closed again before the directory goes away.
class Records : public ::testing::Test {
 protected:
  void SetUp() override { clearRecordBuffers(); }
  void TearDown() override {
    for (files::File* f : opened_)
      f->close();
  }
  // Creates the data file (unless another declaration of it already did) and opens it.
  ::testing::AssertionResult open(files::File& f, bool create = true) {
    if (create) {
      if (Status s = f.create(); !s)
        return ::testing::AssertionFailure() << "create: " << s.text.toStdString();
    }
    if (Status s = f.open(); !s) return ::testing::AssertionFailure() << "open: " << s.text.toStdString();
    opened_.push_back(&f);
    return ::testing::AssertionSuccess();
  }
  static void addSong(SongsFile& f, const char* title, const char* artist, int categoryID = 0) {
    f.buf.clear();
    f.buf.Title = title;
    f.buf.Artist = artist;
    f.buf.CategoryID = categoryID;
    ASSERT_TRUE(f.add().ok()) << title;
  }
  static QList<int> idsAlong(SongsFile& f, const files::Key& k) {
    QList<int> ids;
    f.set(k);
    while (f.next().ok())
      ids << f.buf.ID;
    return ids;
  }

  test::Workspace ws;

 private:
  std::vector<files::File*> opened_;
};

TEST_F(Records, EveryFileIsCreatedAndOpenedWithItsDeclaredLayout) {
  struct Expected {
    const char* label;
    const char* prefix;
    const char* name;
    int bytes, fields, keys, memos, version;
  };
  const Expected expected[] = {
      {"Cantorix", "MUS", "kvxdata", 661, 28, 12, 3, 6},
      {"Categories", "CAT", "KVXCAT", 36, 2, 2, 0, 1},
      {"Album", "ALB", "kvxalbum", 541, 14, 7, 3, 3},
      {"Media", "MED", "kvxmedia", 20, 1, 1, 0, 1},
      {"PlaylistMaster", "PLD", "kvxplist", 38, 3, 2, 1, 1},
      {"PlaylistDetails", "PLA", "kvxpldet", 65, 7, 2, 0, 2},
      {"Labels", "LAB", "kvxlabel", 622, 23, 3, 6, 2},
      {"Fonts", "FON", "kvxfont", 134, 5, 2, 0, 1},
      {"AddWizard", "AW", "KVXAdWiz", 73, 6, 1, 0, 1},
      {"KVXTips", "TIP", "KVXTIPS", 1028, 2, 2, 0, 0},
  };
  const std::vector<files::File*> all = databaseFiles();
  ASSERT_EQ(all.size(), std::size(expected));
  for (size_t i = 0; i < all.size(); ++i) {
    files::File& f = *all[i];
    const Expected& e = expected[i];
    SCOPED_TRACE(e.label);
    EXPECT_EQ(f.label(), e.label);
    EXPECT_EQ(f.prefix(), e.prefix);
    EXPECT_EQ(f.name(), e.name);
    EXPECT_EQ(storedBytes(f.record()), e.bytes);
    EXPECT_EQ(f.record().fields().size(), size_t(e.fields));
    EXPECT_EQ(f.keys().size(), size_t(e.keys));
    EXPECT_EQ(f.record().memos().size(), size_t(e.memos));
    EXPECT_EQ(f.version(), e.version);
    EXPECT_TRUE(open(f));
  }
  EXPECT_EQ(storedBytes(EVL), 102);
}

TEST_F(Records, ClearingBlanksEveryBuffer) {
  std::vector<files::Record*> buffers{&A_S, &EVL};
  for (files::File* f : databaseFiles())
    buffers.push_back(&f->record());
  for (files::Record* r : buffers)
    for (files::Field* f : r->all())
      f->setValue(f->isText() ? QVariant("x") : QVariant(1));
  clearRecordBuffers();
  for (files::Record* r : buffers)
    for (files::Field* f : r->all())
      EXPECT_TRUE(f->isBlank()) << f->label().toStdString();
}

TEST_F(Records, SongWithoutCategoryIsMissingOnlyFromTheCategoryOrder) {
  ASSERT_TRUE(open(Cantorix));
  MUS.ID = 1;
  MUS.Artist = "A artist";
  MUS.Title = "A song";
  MUS.Album = "A album";
  MUS.Media = "A media";
  ASSERT_TRUE(Cantorix.add().ok());
  MUS.ID = 2;
  MUS.Artist = "B artist";
  MUS.Title = "B song";
  MUS.Album = "B album";
  MUS.Media = "B media";
  MUS.CategoryID = 5;
  ASSERT_TRUE(Cantorix.add().ok());

  for (const files::Key* k :
       {&Cantorix.SongsByTitle, &Cantorix.SongsByArtist, &Cantorix.SongsByAlbum, &Cantorix.SongsByMedia})
    EXPECT_EQ(idsAlong(Cantorix, *k), QList<int>({1, 2})) << k->label().toStdString();
  EXPECT_EQ(idsAlong(Cantorix, Cantorix.SongsByCategory), QList<int>({2}));
}

TEST_F(Records, CategoryNamesAreUniqueInAnyLetterCase) {
  ASSERT_TRUE(open(Categories));
  const struct {
    const char* first;
    const char* second;
  } cases[] = {{"Rock", "rOCK"}, {"Ärzte", "ärzte"}};
  int id = 0;
  for (const auto& c : cases) {
    CAT.CategoryID = ++id;
    CAT.Category = c.first;
    ASSERT_TRUE(Categories.add().ok()) << c.first;
    CAT.CategoryID = ++id;
    CAT.Category = c.second;
    Status s = Categories.add();
    EXPECT_EQ(s.code, files::kDuplicateKey) << c.second;
    EXPECT_EQ(s.key, "CAT:KeyCategory") << c.second;
  }
  EXPECT_EQ(Categories.records(), 2);
}

TEST_F(Records, AlbumsShareNoSerialNumberExceptNone) {
  ASSERT_TRUE(open(Album));
  auto addAlbum = [](int id, const char* serial) {
    ALB.clear();
    ALB.AlbumID = id;
    ALB.Album = QString("Album %1").arg(id);
    ALB.CDIdentifier = serial;
    return Album.add();
  };
  for (int id = 1; id <= 3; ++id)
    EXPECT_TRUE(addAlbum(id, "").ok()) << id;
  EXPECT_TRUE(addAlbum(4, "0A1B2C3D").ok());
  Status s = addAlbum(5, "0A1B2C3D");
  EXPECT_EQ(s.code, files::kDuplicateKey);
  EXPECT_EQ(s.key, "ALB:KeyCDIdentifier");
  EXPECT_EQ(Album.records(), 4);
}

TEST_F(Records, TheSongsAliasSharesTheDataButNotBufferOrPosition) {
  ASSERT_TRUE(open(Cantorix));
  ASSERT_TRUE(open(A_Songs, false));
  addSong(Cantorix, "First", "Through Cantorix");
  addSong(A_Songs, "Second", "Through A_Songs");
  EXPECT_EQ(Cantorix.records(), 2);

  Cantorix.set(Cantorix.SongsByTitle);
  ASSERT_TRUE(Cantorix.next().ok());
  EXPECT_EQ(MUS.Title, "First");

  A_Songs.set(A_Songs.SongsByTitle);
  ASSERT_TRUE(A_Songs.next().ok());
  ASSERT_TRUE(A_Songs.next().ok());
  EXPECT_EQ(A_S.Title, "Second");
  EXPECT_EQ(MUS.Title, "First") << "reading the alias leaves the songs buffer alone";

  ASSERT_TRUE(Cantorix.next().ok()) << "the songs file keeps its own place";
  EXPECT_EQ(MUS.Artist, "Through A_Songs");
  EXPECT_EQ(A_Songs.next().code, files::kNoRecord);
}

TEST_F(Records, PlaylistEntriesAreListedBySongEvenWithoutOne) {
  ASSERT_TRUE(open(PlaylistDetails));
  PLA.PlaylistID = 1;
  PLA.PlaylistSeq = 1;
  PLA.ID = 0;
  ASSERT_TRUE(PlaylistDetails.add().ok());
  PLA.clear();
  PlaylistDetails.set(PlaylistDetails.KeyID);
  ASSERT_TRUE(PlaylistDetails.next().ok());
  EXPECT_EQ(PLA.PlaylistID, 1);
}

TEST_F(Records, EventLogLinesHaveFixedWidthFieldsInOrder) {
  ASSERT_TRUE(EventLog.create().ok());
  ASSERT_TRUE(EventLog.open().ok());
  const struct {
    QString date, time, label, data;
  } cases[] = {
      {"", "", "", ""},
      {"Jan 2,2024", "1:05:07PM", QString::fromUtf8("Album added: Ärzte"), QString(80, 'x')},
  };
  for (const auto& c : cases) {
    EVL.LogDate = c.date;
    EVL.LogTime = c.time;
    EVL.LogLabel = c.label;
    EVL.LogData = c.data;
    ASSERT_TRUE(EventLog.add().ok());
  }
  EventLog.close();

  const QStringList lines = test::readFile(ws.file("KVXEvent.LOG")).split("\r\n");
  ASSERT_EQ(lines.size(), std::size(cases) + 1);
  EXPECT_EQ(lines.last(), "");
  for (size_t i = 0; i < std::size(cases); ++i) {
    const QString& line = lines[i];
    EXPECT_EQ(line.size(), 102) << i;
    EXPECT_EQ(line.mid(0, 12).trimmed(), cases[i].date);
    EXPECT_EQ(line.mid(12, 10).trimmed(), cases[i].time);
    EXPECT_EQ(line.mid(22, 30).trimmed(), cases[i].label);
    EXPECT_EQ(line.mid(52).trimmed(), cases[i].data.left(50));
  }
}

}  // namespace
