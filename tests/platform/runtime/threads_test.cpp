#include "platform/runtime/threads.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "tests/platform/files/test_file.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

TEST(Threads, StartedThreadsRunInTurnsFromTheEventLoop) {
  QStringList log;
  bool go = false;
  const int a = rt::start([&] {
    log << "a1";
    rt::waitUntil([&] { return go; });
    log << "a2";
  });
  const int b = rt::start([&] {
    log << "b1";
    go = true;
    rt::wake(a);
    log << "b2";
  });
  EXPECT_NE(a, b);
  EXPECT_TRUE(log.isEmpty()) << "a started thread waits for the event loop";
  ASSERT_TRUE(test::runUntil([&] { return rt::liveThreads() == 0; }));
  // b runs to its end before a, which it woke, gets its turn again.
  EXPECT_EQ(log, QStringList({"a1", "b1", "b2", "a2"}));
}

TEST(Threads, EachThreadKnowsItsNumberAndKeepsItsOwnValues) {
  static rt::ThreadLocal<int> side;
  int seenA = 0, seenB = 0, numberA = 0;
  bool bDone = false;
  const int a = rt::start([&] {
    numberA = rt::thread();
    *side = 1;
    rt::waitUntil([&] { return bDone; });
    seenA = *side;
  });
  rt::start([&] {
    *side = 2;
    seenB = *side;
    bDone = true;
    rt::wake(a);
  });
  ASSERT_TRUE(test::runUntil([&] { return rt::liveThreads() == 0; }));
  EXPECT_EQ(numberA, a);
  EXPECT_EQ(seenA, 1);
  EXPECT_EQ(seenB, 2);
  EXPECT_EQ(rt::thread(), 0) << "the test itself runs outside every program thread";
}

// Threads share the files' buffers: whatever another thread reads, writes or assigns while one waits,
// the waiting one goes on with its own record and its own sequence.
TEST(Threads, AWaitingThreadGoesOnWithTheRecordsItHeld) {
  test::Workspace ws;
  test::ItemRecord rec;
  test::ItemFile file{rec};
  ASSERT_TRUE(file.create().ok());
  ASSERT_TRUE(file.open().ok());
  for (const char* name : {"a", "b", "c", "d"}) {
    rec.clear();
    rec.Name = name;
    ASSERT_TRUE(file.add().ok());
  }
  const struct {
    const char* meanwhile;
    std::function<void()> other;
  } cases[] = {
      {"reads along another key",
       [&] {
         file.set(file.ByName);
         EXPECT_TRUE(file.previous().ok());
       }},
      {"reads by position", [&] { EXPECT_TRUE(file.get(files::Position(4)).ok()); }},
      {"writes another record",
       [&] {
         EXPECT_TRUE(file.get(files::Position(3)).ok());
         rec.Code = "x";
         EXPECT_TRUE(file.put().ok());
       }},
      {"only assigns the buffer",
       [&] {
         rec.clear();
         rec.Name = "zz";
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.meanwhile);
    bool go = false;
    QString held, next;
    files::Position at = 0;
    const int a = rt::start([&] {
      file.set(file.ByName);
      EXPECT_TRUE(file.next().ok());  // "a", and the sequence goes on to "b"
      rt::waitUntil([&] { return go; });
      held = rec.Name.str();
      at = file.position();
      next = file.next() ? rec.Name.str() : QString("(none)");
    });
    test::settle();
    rt::start([&] {
      c.other();
      go = true;
      rt::wake(a);
    });
    ASSERT_TRUE(test::runUntil([&] { return rt::liveThreads() == 0; }));
    EXPECT_EQ(held, "a");
    EXPECT_EQ(at, 1);
    EXPECT_EQ(next, "b");
  }
  file.close();
}

TEST(Threads, AbandoningUnwindsWaitingThreads) {
  struct Guard {
    bool* flag;
    ~Guard() { *flag = true; }
  };
  bool unwound = false, continued = false;
  rt::start([&] {
    Guard g{&unwound};
    rt::waitUntil([] { return false; });
    continued = true;
  });
  test::settle();
  ASSERT_EQ(rt::liveThreads(), 1);
  rt::abandonAll();
  EXPECT_TRUE(unwound);
  EXPECT_FALSE(continued);
  EXPECT_EQ(rt::liveThreads(), 0);
}

}  // namespace
