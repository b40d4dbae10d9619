// Runs the whole program in the test's process, in a fresh working directory, the way a user starts
// it: ProgramMain on a program thread of its own, the real frame and windows on the offscreen screen.
#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "tests/support/workspace.h"

class QMainWindow;

namespace test {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program and waits for its frame; false if it never shows.
  bool start();
  // Waits until the splash window has come and gone.
  bool waitForSplashToClose();
  // Chooses File / Exit and waits for the program to end.
  bool exit();
  bool ended() const;
  QMainWindow* frame() const;
  // An entry of a settings file in the working directory.
  QString setting(const QString& file, const QString& section, const QString& entry) const;
  void setSetting(const QString& file, const QString& section, const QString& entry, const QString& value);

  Workspace ws;
  int programThread = 0;
  QString haltText;
};

}  // namespace test
