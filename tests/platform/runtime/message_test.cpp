#include "platform/runtime/message.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "platform/runtime/threads.h"
#include "platform/runtime/window.h"
#include "tests/support/ui_driver.h"

namespace {

class MessageTest : public ::testing::Test {
 protected:
  void TearDown() override { rt::abandonAll(); }
};

TEST_F(MessageTest, AQuestionWaitsForItsAnswerWhileOtherThreadsRun) {
  rt::Button answer = rt::Button(0);
  rt::start([&] { answer = rt::message("Sure?", "Question", rt::Icon::Exclamation, rt::kYesNo, rt::kNo); });
  int otherRan = 0;
  ASSERT_TRUE(test::runUntil([] { return test::messageBox("Sure?") != nullptr; }));
  rt::start([&] { ++otherRan; });
  test::settle();
  EXPECT_EQ(otherRan, 1) << "another thread runs while the question waits";
  QMessageBox* box = test::messageBox("Sure?");
  EXPECT_EQ(box->windowTitle(), "Question");
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  EXPECT_EQ(box->defaultButton()->text().remove('&'), "No");
  ASSERT_TRUE(test::answer("Yes", "Sure?"));
  ASSERT_TRUE(test::runUntil([&] { return answer != 0; }));
  EXPECT_EQ(answer, rt::kYes);
}

TEST_F(MessageTest, EscapeGivesCancelThenNoThenTheOnlyButton) {
  const struct {
    unsigned buttons;
    rt::Button escape;
  } cases[] = {{rt::kYesNoCancel, rt::kCancel},
               {rt::kYesNo, rt::kNo},
               {rt::kOk, rt::kOk},
               {rt::kRetryCancel, rt::kCancel},
               {rt::kYesNoIgnore, rt::kNo}};
  for (const auto& c : cases) {
    rt::Button answer = rt::Button(0);
    rt::start([&] { answer = rt::message("Escape me", "", rt::Icon::Information, c.buttons); });
    ASSERT_TRUE(test::runUntil([] { return test::messageBox("Escape me") != nullptr; }));
    test::pressKey(test::messageBox("Escape me"), Qt::Key_Escape);
    ASSERT_TRUE(test::runUntil([&] { return answer != 0; }));
    EXPECT_EQ(answer, c.escape) << c.buttons;
  }
}

TEST_F(MessageTest, TheCallersWindowIsDisabledWhileItsQuestionIsOpen) {
  bool asked = false;
  rt::start([&] {
    rt::Window w({.title = "Asker", .size = {200, 80}, .kind = rt::WindowKind::Dialog});
    w.open();
    while (w.accept())
      if (w.event().kind == rt::EventKind::OpenWindow) {
        rt::message("Blocking?");
        asked = true;
      }
    w.close();
  });
  ASSERT_TRUE(test::runUntil([] { return test::messageBox("Blocking?") != nullptr; }));
  EXPECT_FALSE(test::window("Asker")->isEnabled());
  ASSERT_TRUE(test::answer("OK", "Blocking?"));
  ASSERT_TRUE(test::runUntil([&] { return asked; }));
  EXPECT_TRUE(test::window("Asker")->isEnabled());
}

TEST_F(MessageTest, WhenNobodyCanAnswerEveryBoxTakesItsEscapeButton) {
  rt::Button answer = rt::Button(0);
  rt::start([&] { answer = rt::message("Pending", "", rt::Icon::None, rt::kOkCancel, rt::kOk); });
  ASSERT_TRUE(test::runUntil([] { return test::messageBox("Pending") != nullptr; }));
  rt::answerEveryMessage();
  ASSERT_TRUE(test::runUntil([&] { return answer != 0; }));
  EXPECT_EQ(answer, rt::kCancel);
  EXPECT_FALSE(test::messageBox("Pending"));
  rt::answerEveryMessage(false);
}

}  // namespace
