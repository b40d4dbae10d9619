#include "storage/messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "tests/support/ui_driver.h"

namespace {

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::setHaltHandler([this](const QString& text, int) { halted = text; });
  }
  void TearDown() override {
    rt::abandonAll();
    rt::setHaltHandler(nullptr);
  }
  QString halted;
};

QStringList buttonsOf(QMessageBox* box) {
  QStringList names;
  for (QAbstractButton* b : box->buttons())
    names << QString(b->text()).remove('&');
  names.sort();
  return names;
}

TEST_F(Messages, EachNumberHasItsCaptionIconButtonsAndDefault) {
  const MessageDetails details{.file = "Cantorix",
                               .field = "Track",
                               .range = "0 and 99",
                               .action = "Delete",
                               .error = files::Status::error(files::kFileLocked)};
  const struct {
    int number;
    const char* caption;
    const char* text;
    QMessageBox::Icon icon;
    QStringList buttons;
    const char* defaultButton;
  } cases[] = {
      {2,
       "Invalid Key",
       "Cantorix key file is invalid.  Do you want to rebuild the key?",
       QMessageBox::Warning,
       {"No", "Yes"},
       "Yes"},
      {10,
       "Range Error",
       "The value of Track must be between 0 and 99.",
       QMessageBox::Information,
       {"OK"},
       "OK"},
      {16,
       "Record Update Error",
       "An error was experienced changing this record.  Do you want to try to save again?",
       QMessageBox::Information,
       {"Cancel", "No", "Yes"},
       "Cancel"},
      {23, "Update Cancelled", "Are you sure you want to cancel?", QMessageBox::Warning, {"No", "Yes"}, "No"},
      {24,
       "Duplicate Key Error",
       "Adding this record creates a duplicate entry for the key:Cantorix",
       QMessageBox::Information,
       {"OK"},
       "OK"},
      {25,
       "Auto Increment Error",
       "Attempts to automatically number this record have failed.  Error: File Is Already Locked (32).",
       QMessageBox::Information,
       {"Cancel", "Retry"},
       "Cancel"},
      {31,
       "Process DELETE Error",
       "An error was experienced when deleting a record from the Cantorix file.  Error: File Is Already "
       "Locked (32)",
       QMessageBox::Information,
       {"OK"},
       "OK"},
      {32,
       "Confirm Delete",
       "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.",
       QMessageBox::Warning,
       {"Cancel", "OK"},
       "Cancel"},
      {34,
       "Transaction Framing Error",
       "Error: (File Is Already Locked (32)) attempting to frame the delete transaction on Cantorix.  Delete "
       "transaction cancelled.",
       QMessageBox::Information,
       {"OK"},
       "OK"},
  };
  for (const auto& c : cases) {
    rt::start([&] { StandardMessage(c.number, details); });
    ASSERT_TRUE(test::runUntil([] { return test::messageBox() != nullptr; })) << c.number;
    QMessageBox* box = test::messageBox();
    EXPECT_EQ(box->windowTitle(), c.caption) << c.number;
    EXPECT_EQ(box->text(), c.text) << c.number;
    EXPECT_EQ(box->icon(), c.icon) << c.number;
    EXPECT_EQ(buttonsOf(box), c.buttons) << c.number;
    EXPECT_EQ(QString(box->defaultButton()->text()).remove('&'), c.defaultButton) << c.number;
    test::pressKey(box, Qt::Key_Return);  // the default answer
  }
  EXPECT_EQ(halted, "") << "none of these ends the program";
}

TEST_F(Messages, TheFatalOnesEndTheProgramWithTheirClosingText) {
  const struct {
    int number;
    const char* answer;
    const char* closing;
  } cases[] = {{1, "OK", "Invalid File!"},         {2, "No", "Invalid Key!"},
               {3, "OK", "Error Rebuilding Key!"}, {4, "OK", "File Creation Error!"},
               {5, "OK", "File Creation Error!"},  {30, "OK", "Disk Error"}};
  for (const auto& c : cases) {
    halted.clear();
    rt::start([&] { StandardMessage(c.number, {.file = "Album"}); });
    ASSERT_TRUE(test::answer(c.answer)) << c.number;
    ASSERT_TRUE(test::runUntil([this] { return !halted.isEmpty(); })) << c.number;
    EXPECT_EQ(halted, c.closing) << c.number;
  }
}

}  // namespace
