#include "platform/files/view.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "tests/platform/files/test_file.h"
#include "tests/support/workspace.h"

namespace {

using Anchor = files::View::Anchor;

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    // 30 items in three groups; names repeat so that equal keys follow one another by position.
    for (int n = 1; n <= 30; ++n) {
      rec.clear();
      rec.Number = n;
      rec.Name = QString("name%1").arg((n * 7) % 10);
      rec.Group = n % 3 == 0 ? "Gamma" : n % 3 == 1 ? "alpha" : "Beta";
      rec.Small = n % 5;
      ASSERT_TRUE(file.add().ok());
    }
  }
  void TearDown() override { file.close(); }

  QList<int> read(files::View& v, bool forward, const Anchor& from, int count) {
    QList<int> numbers;
    const files::Status s = forward ? v.forward(from, count, [&] { numbers << rec.Number; })
                                    : v.backward(from, count, [&] { numbers << rec.Number; });
    EXPECT_TRUE(s.ok()) << s.text.toStdString() << " " << s.driverText.toStdString();
    return numbers;
  }
  // Every record of the view, page by page forward, as a browse scrolls.
  QList<int> pageThrough(files::View& v, int page) {
    QList<int> all;
    Anchor a{Anchor::Start};
    for (;;) {
      QList<int> got = read(v, true, a, page);
      all += got;
      if (got.size() < page) return all;
      a = v.anchorOfBuffer(Anchor::After);
    }
  }

  test::Workspace ws;
  test::ItemRecord rec;
  test::ItemFile file{rec};
};

TEST_F(ViewTest, PagesInEitherDirectionGiveTheKeyOrder) {
  files::View v(file, file.ByName);
  const QList<int> all = read(v, true, {Anchor::Start}, 100);
  ASSERT_EQ(all.size(), 30);
  EXPECT_EQ(pageThrough(v, 7), all);
  QList<int> backward = read(v, false, {Anchor::End}, 100);
  std::reverse(backward.begin(), backward.end());
  EXPECT_EQ(backward, all);
  // Around one record in the middle, among equal names.
  rec.Number = all[12];
  ASSERT_TRUE(file.get(file.KeyNumber).ok());
  const Anchor after = v.anchorOfBuffer(Anchor::After), before = v.anchorOfBuffer(Anchor::Before),
               at = v.anchorOfBuffer(Anchor::At);
  EXPECT_EQ(read(v, true, after, 3), all.mid(13, 3));
  EXPECT_EQ(read(v, false, before, 3), QList<int>({all[11], all[10], all[9]}));
  EXPECT_EQ(read(v, true, at, 2), all.mid(12, 2));
  EXPECT_EQ(read(v, false, at, 2), QList<int>({all[12], all[11]}));
}

TEST_F(ViewTest, TheBufferValuesLocateTheFirstRecordAtOrAfterThem) {
  files::View v(file, file.ByName);
  rec.Name = "NAME5";
  EXPECT_EQ(read(v, true, v.anchorOfBuffer(Anchor::Values), 1), QList<int>({5})) << "keys ignore case";
  rec.Name = "name55";
  QList<int> after = read(v, true, v.anchorOfBuffer(Anchor::Values), 1);
  rec.Number = after.value(0);
  ASSERT_TRUE(file.get(file.KeyNumber).ok());
  EXPECT_EQ(rec.Name.str(), "name6");
}

TEST_F(ViewTest, ARangeAndAFilterLimitThePages) {
  files::View v(file, file.ByGroup);
  v.setRange({QString("BETA")});
  QList<int> beta = pageThrough(v, 4);
  EXPECT_EQ(beta.size(), 10);
  for (int n : beta)
    EXPECT_EQ(n % 3, 2);
  v.setCondition("\"Small\" >= ?", {qlonglong(3)});
  const QList<int> filtered = pageThrough(v, 2);
  for (int n : filtered)
    EXPECT_TRUE(n % 3 == 2 && n % 5 >= 3) << n;
  EXPECT_EQ(filtered.size(), 4);
  v.setCondition(QString(), {});
  v.setTest([this] { return rec.Number > 20; });
  EXPECT_EQ(pageThrough(v, 2), QList<int>({26, 23, 29})) << "the key orders by Group, then Small";
}

TEST_F(ViewTest, EndsOfAViewAreQuiet) {
  files::View v(file, file.ByName);
  v.setRange({QString("no such name")});
  EXPECT_EQ(read(v, true, {Anchor::Start}, 5), QList<int>());
  EXPECT_EQ(read(v, false, {Anchor::End}, 5), QList<int>());
  files::View whole(file, file.ByName);
  EXPECT_EQ(read(whole, false, {Anchor::Start}, 5), QList<int>()) << "nothing lies before the start";
}

}  // namespace
