// Journals left beside a file by transactions that are over must never decide what a later
// ROLLBACK undoes. Each case plants a journal whose end names a super-journal that no longer exists,
// the shape a multi-file commit stopped after its commit point leaves, and rolls a change back.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "platform/files/transaction.h"
#include "tests/platform/files/test_file.h"
#include "tests/support/raw_database.h"
#include "tests/support/workspace.h"

namespace {

constexpr unsigned char kJournalMagic[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
constexpr int kPageSize = 4096, kSectorSize = 512;

QByteArray bigEndian(quint32 v) {
  QByteArray b(4, '\0');
  qToBigEndian(v, b.data());
  return b;
}

// A journal of `size` bytes. Its header is either zeroed (the transaction is over: PERSIST finished
// it, or it was never synced) or that of a transaction over a file of `pages` pages that committed
// but whose journal was never finished; its end names the super-journal `super`.
QByteArray journal(bool committedHeader, quint32 pages, const QString& super, int size) {
  QByteArray header(kSectorSize, '\0');
  if (committedHeader) {
    QByteArray h(reinterpret_cast<const char*>(kJournalMagic), 8);
    h += bigEndian(0) + bigEndian(0x5eed) + bigEndian(pages) + bigEndian(kSectorSize) + bigEndian(kPageSize);
    header.replace(0, h.size(), h);
  }
  const QByteArray name = super.toUtf8();
  quint32 sum = 0;
  for (const char c : name)
    sum += quint32(qint32(c));  // the checksum adds the name's bytes as signed values
  const QByteArray tail = bigEndian(0x40000000 / kPageSize + 1) + name + bigEndian(name.size()) +
                          bigEndian(sum) + QByteArray(reinterpret_cast<const char*>(kJournalMagic), 8);
  return header + QByteArray(size - header.size() - tail.size(), '\0') + tail;
}

class Journals : public ::testing::Test {
 protected:
  using Status = files::Status;

  void SetUp() override {
    ASSERT_TRUE(file.create().ok() && file.open().ok());
    for (int n = 1; n <= 20; ++n) {
      rec.clear();
      rec.Number = n;
      rec.Name = QString("item %1").arg(n);
      ASSERT_TRUE(file.add().ok());
    }
  }
  void TearDown() override {
    files::rollback();
    file.close();
  }
  void plant(bool committedHeader) {
    QFile j(file.path() + "-journal");
    ASSERT_TRUE(j.open(QIODevice::WriteOnly | QIODevice::Truncate));
    // Far longer than the journal of the change below, so its end outlives that journal's writing.
    const quint32 pages = quint32(QFileInfo(file.path()).size() / kPageSize);
    j.write(journal(committedHeader, pages, ws.file("kvx98.db-mj0BADF00D"), 64 * 1024));
  }
  Status rename(int number, const char* name) {
    rec.Number = number;
    if (Status s = file.get(file.KeyNumber); !s) return s;
    rec.Name = name;
    return file.put();
  }
  QString nameOf(int number) {
    rec.Number = number;
    return file.get(file.KeyNumber).ok() ? rec.Name.str() : "(missing)";
  }

  test::Workspace ws;
  test::ItemRecord rec;
  test::ItemFile file{rec};
};

TEST_F(Journals, ARollbackUndoesWhateverJournalWasLeftBesideTheFile) {
  const struct {
    const char* left;
    bool committedHeader;
    bool beforeOpen;
  } cases[] = {
      {"a finished journal, found when the file is opened", false, true},
      {"a finished journal, appearing while the file is open", false, false},
      {"a committed transaction's unfinished journal, appearing while the file is open", true, false},
  };
  int number = 0;  // each case changes records of its own
  for (const auto& c : cases) {
    SCOPED_TRACE(c.left);
    const int undone = ++number, kept = ++number;
    if (c.beforeOpen) file.close();
    plant(c.committedHeader);
    if (c.beforeOpen) {
      ASSERT_TRUE(file.open().ok());
    }

    ASSERT_TRUE(files::beginTransaction(2000, {&file}).ok());
    ASSERT_TRUE(rename(undone, "Undone").ok());
    files::rollback();
    EXPECT_EQ(nameOf(undone), QString("item %1").arg(undone)) << "the change is undone for this program";

    // A later commit writes the page the undone change was on.
    ASSERT_TRUE(files::beginTransaction(2000, {&file}).ok());
    ASSERT_TRUE(rename(kept, "Kept").ok());
    ASSERT_TRUE(files::commit().ok());
    test::RawDatabase disk(file.path());
    EXPECT_EQ(disk.value(QString("SELECT Name FROM data WHERE Number = %1").arg(undone)),
              QString("item %1").arg(undone))
        << "and on disk";
    EXPECT_EQ(disk.value(QString("SELECT Name FROM data WHERE Number = %1").arg(kept)), "Kept");
  }
}

}  // namespace
