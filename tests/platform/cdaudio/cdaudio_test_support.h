// Sending commands to the cdaudio device and giving it a scripted drive, for the device's tests.
#pragma once

#include <gtest/gtest.h>

#include "platform/cdaudio/cdaudio.h"
#include "tests/support/qt_printers.h"

namespace test {

struct Sent {
  int code;
  QString reply;
};

// The reply starts out as junk so that a reply the device leaves alone shows.
inline Sent send(const QString& command) {
  QString reply = "junk";
  const int code = cdaudio::sendString(command, &reply);
  return {code, reply};
}

// Installs a drive that plays `text`; the test fails when the text is no script.
inline void useScript(const QString& text) {
  QString error;
  std::optional<cdaudio::Script> script = cdaudio::parseScript(text, &error);
  ASSERT_TRUE(script) << error.toStdString();
  cdaudio::useDrive(cdaudio::scriptedDrive(std::move(*script)));
}

// Every test leaves the device closed, on its default drive, with no script named in the environment.
class CdAudioTest : public ::testing::Test {
 protected:
  void TearDown() override {
    qunsetenv("KVX_CDAUDIO_SCRIPT");
    cdaudio::useDrive(nullptr);
  }
};

}  // namespace test
