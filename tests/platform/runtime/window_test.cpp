#include "platform/runtime/window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QStringList>

#include "platform/files/field.h"
#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "tests/support/ui_driver.h"

namespace {

using rt::ControlKind;
using rt::EventKind;

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { rt::abandonAll(); }
  QStringList log;
};

// A form with one OK button that closes it; logs what happens around it.
void okForm(const QString& title, QStringList& log) {
  rt::Window w({.title = title, .size = {200, 80}, .kind = rt::WindowKind::Dialog});
  w.add({.kind = ControlKind::Button, .number = 1, .text = "OK", .rect = {10, 10, 80, 24}});
  w.open();
  while (w.accept()) {
    if (w.event().kind == EventKind::OpenWindow) log << "opened " + title;
    if (w.event().kind == EventKind::Accepted && w.event().control == 1) w.post(EventKind::CloseWindow);
  }
  w.close();
  log << "closed " + title;
}

class TwoThreads : public WindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TwoThreads, FormsOnTwoThreadsCloseInEitherOrderAndEachCallerResumes) {
  for (const QString t : {"A", "B"}) {
    rt::start([this, t] {
      okForm("Form " + t, log);
      log << t + " resumed";
    });
  }
  ASSERT_TRUE(test::waitForWindow("Form A") && test::waitForWindow("Form B"));
  const QString first = GetParam() ? "A" : "B", second = GetParam() ? "B" : "A";
  test::click(test::button(test::window("Form " + first), "OK"));
  ASSERT_TRUE(test::runUntil([&] { return log.contains(first + " resumed"); }));
  EXPECT_FALSE(log.contains("closed Form " + second));
  EXPECT_TRUE(test::window("Form " + second)) << "the other form stays open and usable";
  test::click(test::button(test::window("Form " + second), "OK"));
  ASSERT_TRUE(test::runUntil([&] { return rt::liveThreads() == 0; }));
  EXPECT_EQ(log.indexOf("closed Form " + first) + 1, log.indexOf(first + " resumed"));
  EXPECT_EQ(log.indexOf("closed Form " + second) + 1, log.indexOf(second + " resumed"));
}

INSTANTIATE_TEST_SUITE_P(Order, TwoThreads, ::testing::Bool(), [](const auto& info) {
  return info.param ? "FirstOpenedFirst" : "LastOpenedFirst";
});

TEST_F(WindowTest, ALaterWindowOfTheSameThreadDisablesTheEarlierOne) {
  rt::start([this] {
    rt::Window w({.title = "Browse", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.add({.kind = ControlKind::Button, .number = 1, .text = "Change", .rect = {10, 10, 80, 24}});
    w.open();
    while (w.accept())
      if (w.event().kind == EventKind::Accepted) okForm("Form", log);
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Browse"));
  QWidget* browse = test::window("Browse");
  test::click(test::button(browse, "Change"));
  ASSERT_TRUE(test::waitForWindow("Form"));
  EXPECT_FALSE(browse->isEnabled());
  test::click(test::button(test::window("Form"), "OK"));
  ASSERT_TRUE(test::runUntil([&] { return log.contains("closed Form"); }));
  EXPECT_TRUE(browse->isEnabled());
}

TEST_F(WindowTest, CloseRequestsEndTheLoopUnlessTheProcedureKeepsTheWindow) {
  int closeRequests = 0;
  rt::start([&] {
    rt::Window w({.title = "Keeper", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.open();
    while (w.accept())
      if (w.event().kind == EventKind::CloseWindow && ++closeRequests == 1) w.cancelClose();
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Keeper"));
  test::window("Keeper")->close();
  test::settle();
  EXPECT_EQ(closeRequests, 1);
  EXPECT_TRUE(test::window("Keeper"));
  test::window("Keeper")->close();
  ASSERT_TRUE(test::runUntil([] { return rt::liveThreads() == 0; }));
  EXPECT_FALSE(test::window("Keeper"));
}

TEST_F(WindowTest, EventsPostedToAThreadReachItsLatestWindowAndTimerTicksDoNotPileUp) {
  std::vector<rt::Event> seen;
  int ticks = 0;
  const int t = rt::start([&] {
    rt::Window w({.title = "Target", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.open();
    w.setTimer(1);
    while (w.accept()) {
      if (w.event().kind == EventKind::Timer && ++ticks == 1) {
        // Busy long enough for many ticks to fall due: they arrive as one.
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < 60) {
        }
      }
      if (w.event().kind == EventKind::Timer && ticks == 2) w.setTimer(0);
      if (w.event().kind == EventKind::Accepted) seen.push_back(w.event());
      if (w.event().kind == EventKind::CloseDown) break;
    }
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Target"));
  ASSERT_TRUE(test::runUntil([&] { return ticks == 2; }));
  EXPECT_TRUE(rt::post(t, {EventKind::Accepted, -11}));
  test::settle();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].control, -11);
  EXPECT_EQ(ticks, 2);
  rt::post(t, {EventKind::CloseDown});
  ASSERT_TRUE(test::runUntil([] { return rt::liveThreads() == 0; }));
  EXPECT_FALSE(rt::post(t, {EventKind::Accepted, 1})) << "a thread without windows takes no events";
}

TEST_F(WindowTest, AnEntryRefusesWhatItsPictureCannotHold) {
  files::Long value;
  value = 7;
  std::vector<EventKind> events;
  rt::start([&] {
    rt::Window w({.title = "Entry", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.add({.kind = ControlKind::Entry, .number = 1, .rect = {10, 10, 80, 24}, .picture = "@n3"}).use(value);
    w.add({.kind = ControlKind::Entry, .number = 2, .rect = {10, 40, 80, 24}});
    w.open();
    w.alert(Qt::Key_Insert);
    while (w.accept())
      if (w.event().kind != EventKind::OpenWindow) events.push_back(w.event().kind);
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Entry"));
  auto edits = test::window("Entry")->findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 2);
  QLineEdit* number = edits[0];
  EXPECT_EQ(number->text(), "7");
  number->setFocus();
  number->selectAll();
  test::type(number, "12x");
  edits[1]->setFocus();
  test::settle();
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(number->hasFocus()) << "the cursor goes back to the refused entry";
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), EventKind::Rejected);
  number->selectAll();
  test::type(number, "42");
  test::pressKey(number, Qt::Key_Return);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(events.back(), EventKind::Accepted);
  test::pressKey(number, Qt::Key_Insert);
  EXPECT_EQ(events.back(), EventKind::AlertKey);
}

TEST_F(WindowTest, DroppedThingsOfTheAcceptedKindArriveAsDropEvents) {
  std::vector<rt::Event> drops;
  rt::start([&] {
    rt::Window w({.title = "Target", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.add({.kind = ControlKind::Entry, .number = 4, .rect = {10, 10, 80, 24}}).acceptDrops("Songs");
    w.open();
    while (w.accept())
      if (w.event().kind == EventKind::Drop) drops.push_back(w.event());
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Target"));
  QLineEdit* target = test::window("Target")->findChild<QLineEdit*>();
  const auto drop = [&](const QString& type, const QByteArray& data) {
    QMimeData mime;
    mime.setData(type, data);
    // What a drag over the entry delivers: entering, then the drop.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent e(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
    test::settle();
  };
  drop(rt::dragMimeType("Songs"), "42");
  drop(rt::dragMimeType("Albums"), "7");
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].control, 4);
  EXPECT_EQ(drops[0].data, "42");
}

TEST_F(WindowTest, TheEditActionsWorkOnTheFocusedEntry) {
  rt::start([] {
    rt::Window w({.title = "Edit", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.add({.kind = ControlKind::Entry, .number = 1, .rect = {10, 10, 80, 24}});
    w.add({.kind = ControlKind::Entry, .number = 2, .rect = {10, 40, 80, 24}});
    w.open();
    while (w.accept()) {
    }
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Edit"));
  auto edits = test::window("Edit")->findChildren<QLineEdit*>();
  edits[0]->setFocus();
  test::type(edits[0], "Abba");
  edits[0]->selectAll();
  rt::editCut();
  EXPECT_EQ(edits[0]->text(), "");
  edits[1]->setFocus();
  rt::editPaste();
  EXPECT_EQ(edits[1]->text(), "Abba");
  edits[1]->selectAll();
  rt::editCopy();
  edits[0]->setFocus();
  rt::editPaste();
  EXPECT_EQ(edits[0]->text(), "Abba");
}

}  // namespace
