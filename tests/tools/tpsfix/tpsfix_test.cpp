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

  // A songs file of `count` songs, each with a notes memo of `notes` characters; song n is at
  // position n.
  void songsFile(int count, int notes = 0) {
    ASSERT_TRUE(Cantorix.create().ok() && Cantorix.open().ok());
    ASSERT_TRUE(files::beginTransaction(2000, {&Cantorix}).ok());
    for (int id = 1; id <= count; ++id) {
      MUS.clear();
      MUS.ID = id;
      MUS.AlbumID = 3 * id;
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
  // The songs file and what a repair left of it gone, for a test that makes it again.
  void removeSongsFile() {
    for (const char* name :
         {"kvxdata.tps", "kvxdata.tps-journal", "kvxdata.damaged.tps", "kvxdata.damaged.tps-journal"})
      QFile::remove(ws.file(name));
  }
  void damagePage(int page) { test::damageFile(Cantorix.path(), qint64(page - 1) * 4096, 4096, '\x5a'); }
  int runTpsfix(QString* output = nullptr,
                const QStringList& arguments = {"kvxdata.tps", "/E:kvxdata.tpe", "/K"}) {
    QProcess p;
    p.setWorkingDirectory(ws.dataDir());
    p.start(TPSFIX_PATH, arguments);
    p.waitForFinished(60000);
    if (output) *output = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }
  // Every song of the repaired file, checked against what was written at its position.
  int intactSongs(int notes) {
    EXPECT_TRUE(Cantorix.open().ok()) << "the repaired file opens";
    int n = 0;
    Cantorix.setByPosition();
    while (Cantorix.next().ok()) {
      const int id = int(Cantorix.position());
      EXPECT_EQ(MUS.ID, id);
      EXPECT_EQ(MUS.AlbumID, 3 * id);
      EXPECT_EQ(MUS.Artist.str(), QString("Artist %1").arg(id % 37));
      EXPECT_EQ(MUS.Title.str(), QString::fromUtf8("Titel Nummer %1 — Über").arg(id));
      EXPECT_EQ(MUS.Notes.str(), QString(notes, QChar('a' + id % 26)));
      ++n;
    }
    Cantorix.close();
    return n;
  }
  static QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // The data file was refused with `why`: nothing beside it was made and it is as it was.
  void expectRefused(const QStringList& arguments, const QString& why) {
    const QByteArray before = bytes(Cantorix.path());
    QString out;
    EXPECT_EQ(runTpsfix(&out, arguments), 4) << out.toStdString();
    EXPECT_TRUE(out.contains(why + "; nothing was changed")) << out.toStdString();
    EXPECT_EQ(bytes(Cantorix.path()), before);
    EXPECT_FALSE(QFile::exists(ws.file("kvxdata.damaged.tps")));
    EXPECT_FALSE(QFile::exists(ws.file("kvxdata.tps.fixing")));
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

TEST_F(Tpsfix, RepairsWithoutAnExampleFile) {
  songsFile(3000);
  ASSERT_TRUE(QFile::remove(ws.file("kvxdata.tpe")));
  const auto leaves = recordPages("leaf");
  const auto [page, onIt] = leaves[leaves.size() / 3];
  damagePage(page);
  QString out;
  EXPECT_EQ(runTpsfix(&out, {ws.file("kvxdata.tps")}), 0) << out.toStdString();
  EXPECT_EQ(intactSongs(0), 3000 - onIt);
  EXPECT_TRUE(out.contains(QString("%1 could not be read").arg(onIt))) << out.toStdString();
}

TEST_F(Tpsfix, AFileUnderAnotherNameIsKnownByItsExample) {
  songsFile(300);
  const auto [page, onIt] = recordPages("leaf").back();
  damagePage(page);
  ASSERT_TRUE(QFile::rename(Cantorix.path(), ws.file("copy.tps")));
  QString out;
  EXPECT_EQ(runTpsfix(&out, {"copy.tps"}), 3);
  EXPECT_TRUE(out.contains("copy.tps is not one of the program's data files; name its example with /E:"))
      << out.toStdString();
  EXPECT_EQ(runTpsfix(&out, {"copy.tps", "/E:kvxdata.tpe"}), 0) << out.toStdString();
  EXPECT_TRUE(QFile::exists(ws.file("copy.damaged.tps")));
  ASSERT_TRUE(QFile::rename(ws.file("copy.tps"), Cantorix.path()));
  EXPECT_EQ(intactSongs(0), 300 - onIt);
}

TEST_F(Tpsfix, RefusesAFileOrAnExampleOfAnotherFile) {
  songsFile(200);
  damagePage(recordPages("leaf").front().first);
  ASSERT_EQ(upgrade::ds_MakeTPE(Album), "0");
  expectRefused({"kvxdata.tps", "/E:kvxalbum.tpe", "/K"},
                "the example kvxalbum.tpe is of the file Album, not of Cantorix (kvxdata.tps)");

  // Album records under the songs file's name, as a repair from the wrong example once left them.
  ASSERT_TRUE(QFile::remove(Cantorix.path()));
  ASSERT_TRUE(QFile::copy(ws.file("kvxalbum.tpe"), Cantorix.path()));
  test::RawDatabase(Cantorix.path()).exec("INSERT INTO data(AlbumID, Album) VALUES(1, 'Gold')");
  expectRefused({"kvxdata.tps"}, "kvxdata.tps holds the records of Album, not of Cantorix");
  expectRefused({"kvxdata.tps", "/E:kvxdata.tpe"}, "kvxdata.tps holds the records of Album, not of Cantorix");
}

// Songs salvaged with garbage in them, each planted at its own position.
const struct {
  int position;
  const char* garbage;
  const char* reason;
} kGarbage[] = {
    {11, "Composer = CAST(x'41ff42' AS TEXT)", "MUS:Composer is not valid UTF-8 text"},
    {12, "Style = CAST(x'410042' AS TEXT)", "MUS:Style holds NUL characters"},
    {13, "AdditionalInformation1 = replace(hex(zeroblob(81)), '00', 'x')",
     "MUS:AdditionalInformation1 is longer than its 80 characters"},
    {14, "Rating = 300", "MUS:Rating (300) is outside 0 to 255"},
    {15, "CategoryID = 1 << 40", "MUS:CategoryID (1099511627776) is outside -2147483648 to 2147483647"},
    {16, "ID = -16", "MUS:ID (-16) is negative, and the program numbers from 1"},
    {17, "Title = x'00ff'", "MUS:Title holds a value of another kind"},
};

TEST_F(Tpsfix, SongsWithGarbageAreListedAndLeftOutWhetherReadThroughSqliteOrFromThePages) {
  // The table's root hides every record from SQLite, so the page scan finds them; a key's root
  // leaves SQLite reading every record through the table.
  for (const char* broken : {"data", "K_SongsByArtist"}) {
    SCOPED_TRACE(broken);
    removeSongsFile();
    songsFile(1000);
    {
      test::RawDatabase raw(Cantorix.path());
      for (const auto& g : kGarbage)
        ASSERT_EQ(raw.exec(QString("UPDATE data SET %1 WHERE _pos = %2").arg(g.garbage).arg(g.position)),
                  SQLITE_OK);
      const int root =
          raw.value(QString("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(broken)).toInt();
      ASSERT_EQ(raw.value(QString("SELECT pagetype FROM dbstat WHERE pageno = %1").arg(root)), "internal");
      damagePage(root);
    }
    QString out;
    EXPECT_EQ(runTpsfix(&out, {"kvxdata.tps"}), 0) << out.toStdString();
    const int planted = int(std::size(kGarbage));
    EXPECT_TRUE(out.contains(QString("%1 record(s) recovered of 1000; 0 could not be read; %2 recovered with "
                                     "damage and left out")
                                 .arg(1000 - planted)
                                 .arg(planted)))
        << out.toStdString();
    for (const auto& g : kGarbage)
      EXPECT_TRUE(out.contains(QString("\n  record %1: %2\n").arg(g.position).arg(g.reason)))
          << g.reason << "\n"
          << out.toStdString();
    EXPECT_EQ(intactSongs(0), 1000 - planted) << "no garbled song among the good ones";
  }
}

TEST_F(Tpsfix, NoTruncationLeavesASongCutShortAmongTheGoodOnes) {
  songsFile(800, 5);
  const QByteArray whole = bytes(Cantorix.path());
  const qint64 cutPage = whole.size() / 4096 * 2 / 3;  // the cut falls inside the page after this one
  int beforeCut = 0;
  for (const auto& [page, count] : recordPages("leaf"))
    if (page <= cutPage) beforeCut += count;
  int listed = 0;
  for (int within = 150; within < 4096; within += 390) {
    SCOPED_TRACE(within);
    removeSongsFile();
    test::writeFile(Cantorix.path(), whole.left(cutPage * 4096 + within));
    QString out;
    ASSERT_EQ(runTpsfix(&out, {"kvxdata.tps"}), 0) << out.toStdString();
    EXPECT_GE(intactSongs(5), beforeCut);
    EXPECT_EQ(out.count("\n  record "),
              out.count(": part of it lay beyond the end of the file, which was cut short\n"))
        << out.toStdString();
    listed += int(out.count("\n  record "));
  }
  EXPECT_GT(listed, 0) << "a cut inside a song lists it";
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
