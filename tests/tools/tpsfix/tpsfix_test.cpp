// The repair utility, run as the program runs it, on real damaged files.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "platform/files/transaction.h"
#include "platform/upgrade/upgrade.h"
#include "storage/records.h"
#include "storage/registration.h"
#include "tests/support/other_station.h"
#include "tests/support/raw_database.h"
#include "tests/support/workspace.h"

namespace {

class Tpsfix : public ::testing::Test {
 protected:
  void SetUp() override { RegisterFilesWithUpgradePack(); }

  // A songs file of `count` songs, each with a notes memo of `notes` characters.
  void songsFile(int count, int notes = 0) {
    ASSERT_TRUE(Cantorix.create().ok() && Cantorix.open().ok());
    files::beginTransaction(2000, {&Cantorix});
    for (int id = 1; id <= count; ++id) {
      MUS.clear();
      MUS.ID = id;
      MUS.Artist = QString("Artist %1").arg(id % 37);
      MUS.Title = QString::fromUtf8("Titel Nummer %1 — Über").arg(id);
      MUS.Notes = QString(notes, QChar('a' + id % 26));
      ASSERT_TRUE(Cantorix.add().ok());
    }
    ASSERT_TRUE(files::commit().ok());
    Cantorix.close();
    ASSERT_EQ(upgrade::ds_MakeTPE(Cantorix), "0");
  }
  // Pages of the songs' records, in page order, with the number of records each holds.
  std::vector<std::pair<int, int>> recordPages(const char* type) {
    std::vector<std::pair<int, int>> pages;
    test::RawDatabase raw(Cantorix.path());
    const int n =
        raw.value(QString("SELECT count(*) FROM dbstat WHERE name = 'data' AND pagetype = '%1'").arg(type))
            .toInt();
    for (int i = 0; i < n; ++i) {
      const QString where =
          QString("name = 'data' AND pagetype = '%1' ORDER BY pageno LIMIT 1 OFFSET %2").arg(type).arg(i);
      pages.emplace_back(raw.value("SELECT pageno FROM dbstat WHERE " + where).toInt(),
                         raw.value("SELECT ncell FROM dbstat WHERE " + where).toInt());
    }
    return pages;
  }
  void damagePage(int page) { test::damageFile(Cantorix.path(), qint64(page - 1) * 4096, 4096, '\x5a'); }
  int runTpsfix(QString* output = nullptr) {
    QProcess p;
    p.setWorkingDirectory(ws.dataDir());
    p.start(TPSFIX_PATH, {"kvxdata.tps", "/E:kvxdata.tpe", "/K"});
    p.waitForFinished(60000);
    if (output) *output = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }
  // Every song of the repaired file, checked against what was written.
  int intactSongs(int notes) {
    EXPECT_TRUE(Cantorix.open().ok()) << "the repaired file opens";
    int n = 0;
    Cantorix.set(Cantorix.KeyID);
    while (Cantorix.next().ok()) {
      const int id = MUS.ID;
      EXPECT_EQ(MUS.Title.str(), QString::fromUtf8("Titel Nummer %1 — Über").arg(id));
      EXPECT_EQ(MUS.Notes.str(), QString(notes, QChar('a' + id % 26)));
      ++n;
    }
    Cantorix.close();
    return n;
  }

  test::Workspace ws;
};

TEST_F(Tpsfix, ASoundFileIsLeftAlone) {
  songsFile(50);
  const QString before = test::readFile(Cantorix.path());
  QString out;
  EXPECT_EQ(runTpsfix(&out), 0);
  EXPECT_TRUE(out.contains("no damage found")) << out.toStdString();
  EXPECT_FALSE(QFile::exists(ws.file("kvxdata.damaged.tps")));
  EXPECT_EQ(intactSongs(0), 50);
}

TEST_F(Tpsfix, ABrokenPageAboveTheRecordsHidesNoneOfThem) {
  songsFile(2000, 1500);  // long notes, on overflow pages
  test::RawDatabase raw(Cantorix.path());
  const int root = raw.value("SELECT rootpage FROM sqlite_master WHERE name = 'data'").toInt();
  ASSERT_EQ(raw.value(QString("SELECT pagetype FROM dbstat WHERE pageno = %1").arg(root)), "internal");
  const QByteArray damaged = [&] {
    damagePage(root);
    QFile f(Cantorix.path());
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  QString out;
  EXPECT_EQ(runTpsfix(&out), 0) << out.toStdString();
  EXPECT_TRUE(out.contains("2000 record(s) recovered")) << out.toStdString();
  EXPECT_EQ(intactSongs(1500), 2000);
  QFile kept(ws.file("kvxdata.damaged.tps"));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), damaged) << "the original is kept as it was";
}

TEST_F(Tpsfix, AnOverwrittenPageLosesOnlyItsOwnRecords) {
  songsFile(3000);
  const auto leaves = recordPages("leaf");
  ASSERT_GT(leaves.size(), 10u);
  const auto [page, onIt] = leaves[leaves.size() / 2];
  damagePage(page);
  QString out;
  EXPECT_EQ(runTpsfix(&out), 0) << out.toStdString();
  EXPECT_EQ(intactSongs(0), 3000 - onIt);
  EXPECT_TRUE(out.contains(QString("%1 could not be read").arg(onIt))) << out.toStdString();
}

TEST_F(Tpsfix, ATruncatedFileKeepsTheRecordsBeforeTheCut) {
  songsFile(3000);
  const auto leaves = recordPages("leaf");
  QFile f(Cantorix.path());
  const qint64 pages = f.size() / 4096, cut = pages * 2 / 3;
  int kept = 0;
  for (const auto& [page, count] : leaves)
    if (page <= cut) kept += count;
  ASSERT_TRUE(f.resize(cut * 4096 + 1000));  // mid-page, as a disk that filled up would leave it
  EXPECT_EQ(runTpsfix(), 0);
  EXPECT_EQ(intactSongs(0), kept);
}

TEST_F(Tpsfix, AFileInUseIsNotTouched) {
  songsFile(10);
  const struct {
    const char* user;
    QStringList station;  // empty: this program itself has the file open
  } users[] = {
      // First the one whose open would look the damaged file over.
      {"another program that has the file open, idle", {"open", "60000"}},
      {"this program, with the file open", {}},
      {"another program in a transaction", {"lock", Cantorix.path(), "60000"}},
  };
  for (const auto& u : users) {
    SCOPED_TRACE(u.user);
    test::OtherStation other;
    if (u.station.isEmpty()) {
      ASSERT_TRUE(Cantorix.open().ok());
    } else {
      ASSERT_TRUE(other.start(u.station));
    }
    damagePage(2);  // while it is in use
    EXPECT_EQ(runTpsfix(), 2);
    EXPECT_FALSE(QFile::exists(ws.file("kvxdata.damaged.tps")));
    Cantorix.close();
  }
  EXPECT_EQ(runTpsfix(), 0) << "once nobody has it open";
}

}  // namespace
