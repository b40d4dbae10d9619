#include "platform/runtime/frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "platform/runtime/threads.h"
#include "tests/support/ui_driver.h"

namespace {

using rt::EventKind;

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frameThread = rt::start([this] {
      rt::Frame f({.title = "Test Frame", .size = {640, 480}},
                  {{-1, {"&File", "&Open"}, "Open a thing"},
                   {-2, {"&File", "E&xit"}, "Leave"},
                   {-3, {"&View", "&Wizards"}, "", true},
                   {-4, {"&View", "&Wizards", "&One"}, "First wizard"}},
                  {{-10, "One", "", "Open one"}, {-11, "", "logo.gif", "", true}});
      f.open();
      while (f.accept()) {
        if (f.event().kind == EventKind::Accepted) commands.push_back(f.event().control);
        if (f.event().kind == EventKind::Accepted && f.event().control == -2) f.post(EventKind::CloseWindow);
        if (f.event().kind == EventKind::Accepted && f.event().control == -1) runDialog();
        if (f.event().kind == EventKind::CloseWindow) closeSeenWithOthersOpen = otherOpen;
      }
      f.close();
    });
    ASSERT_TRUE(test::waitForWindow("Test Frame"));
    frame = qobject_cast<QMainWindow*>(test::window("Test Frame"));
    ASSERT_TRUE(frame);
  }
  void TearDown() override { rt::abandonAll(); }

  // A dialog run on the frame's own thread, closed by its OK button.
  static void runDialog() {
    rt::Window w({.title = "Opened", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.add({.kind = rt::ControlKind::Button, .number = 1, .text = "OK", .rect = {10, 10, 80, 24}});
    w.open();
    while (w.accept())
      if (w.event().kind == EventKind::Accepted) break;
    w.close();
  }

  int frameThread = 0;
  QMainWindow* frame = nullptr;
  std::vector<int> commands;
  bool otherOpen = false;
  bool closeSeenWithOthersOpen = true;
};

TEST_F(FrameTest, MenusAndToolbarAreBuiltInOrderWithTheirTips) {
  QStringList titles;
  for (QAction* a : frame->menuBar()->actions())
    titles << a->text();
  EXPECT_EQ(titles, QStringList({"&File", "&View"}));
  QMenu* file = frame->menuBar()->actions()[0]->menu();
  ASSERT_EQ(file->actions().size(), 2);
  EXPECT_EQ(file->actions()[0]->text(), "&Open");
  EXPECT_EQ(file->actions()[0]->statusTip(), "Open a thing");
  QMenu* wizards = frame->menuBar()->actions()[1]->menu()->actions()[0]->menu();
  ASSERT_TRUE(wizards);
  EXPECT_EQ(wizards->actions()[0]->text(), "&One");

  ASSERT_TRUE(test::chooseMenu(frame, {"&View", "&Wizards", "&One"}));
  QToolBar* bar = frame->findChild<QToolBar*>();
  ASSERT_TRUE(bar);
  bar->actions()[0]->trigger();
  test::settle();
  EXPECT_EQ(commands, std::vector<int>({-4, -10}));

  // What a menu does when the pointer rests on an item: the tip goes to the menu bar's window.
  file->actions()[0]->showStatusText(frame->menuBar());
  EXPECT_EQ(frame->statusBar()->currentMessage(), "Open a thing");
}

TEST_F(FrameTest, ClosingTheFrameClosesTheOtherThreadsWindowsFirst) {
  bool childGotCloseDown = false;
  rt::start([&] {
    rt::Window w({.title = "Child", .size = {200, 100}});
    w.open();
    otherOpen = true;
    while (w.accept())
      if (w.event().kind == EventKind::CloseDown) childGotCloseDown = true;
    otherOpen = false;
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Child"));
  EXPECT_TRUE(frame->findChild<QMdiArea*>()->subWindowList().size() == 1)
      << "documents open inside the frame";
  ASSERT_TRUE(test::chooseMenu(frame, {"&File", "E&xit"}));
  ASSERT_TRUE(test::runUntil([&] { return !rt::isAlive(frameThread); }));
  EXPECT_TRUE(childGotCloseDown);
  EXPECT_FALSE(closeSeenWithOthersOpen);
}

TEST_F(FrameTest, TheFramesMenusAreDisabledWhileItsThreadHasALaterWindow) {
  ASSERT_TRUE(test::chooseMenu(frame, {"&File", "&Open"}));
  ASSERT_TRUE(test::waitForWindow("Opened"));
  EXPECT_FALSE(frame->menuBar()->isEnabled());
  EXPECT_FALSE(frame->findChild<QToolBar*>()->isEnabled());
  EXPECT_TRUE(frame->findChild<QMdiArea*>()->isEnabled()) << "other threads' documents stay usable";
  test::click(test::button(test::window("Opened"), "OK"));
  EXPECT_TRUE(frame->menuBar()->isEnabled());
}

TEST_F(FrameTest, ArrangingIconsLinesUpTheMinimisedDocumentsAlongTheBottom) {
  for (const QString t : {"One", "Two", "Three"})
    rt::start([t] {
      rt::Window w({.title = t, .size = {200, 100}});
      w.open();
      while (w.accept()) {
      }
      w.close();
    });
  ASSERT_TRUE(test::waitForWindow("One") && test::waitForWindow("Two") && test::waitForWindow("Three"));
  QMdiArea* area = frame->findChild<QMdiArea*>();
  test::window("One")->showMinimized();
  test::window("Three")->showMinimized();
  rt::Frame::instance()->arrangeIcons();
  const QRect one = test::window("One")->geometry(), three = test::window("Three")->geometry();
  EXPECT_EQ(one.bottom(), area->viewport()->height() - 1);
  EXPECT_EQ(three.bottom(), one.bottom());
  EXPECT_EQ(one.x(), 0);
  EXPECT_EQ(three.x(), one.width()) << "side by side, in the order they opened";
  EXPECT_FALSE(test::window("Two")->isMinimized());
}

// A document the user maximised stays so while a later one opens beside it in its own state (a
// form restores itself as normal) and after that one closes.
TEST_F(FrameTest, AMaximisedDocumentStaysSoWhileAnotherOpensAndCloses) {
  bool formDone = false;
  const int browse = rt::start([] {
    rt::Window w({.title = "Browse", .size = {200, 100}});
    w.open();
    while (w.accept()) {
    }
    w.close();
  });
  ASSERT_TRUE(test::waitForWindow("Browse"));
  test::window("Browse")->showMaximized();
  test::settle();
  rt::start([&] {
    rt::Window form({.title = "Form", .size = {150, 80}});
    form.open();
    form.showNormal();
    while (form.accept()) {
    }
    form.close();
    formDone = true;
  });
  ASSERT_TRUE(test::waitForWindow("Form"));
  test::settle();
  EXPECT_TRUE(test::window("Browse")->isMaximized());
  EXPECT_FALSE(test::window("Form")->isMaximized());
  test::window("Form")->close();
  ASSERT_TRUE(test::runUntil([&] { return formDone; }));
  test::settle();
  EXPECT_TRUE(test::window("Browse")->isMaximized());
  rt::post(browse, {rt::EventKind::CloseWindow});
}

}  // namespace
