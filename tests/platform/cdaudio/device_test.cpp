#include <gtest/gtest.h>

#include "platform/cdaudio/cdaudio.h"
#include "tests/platform/cdaudio/cdaudio_test_support.h"

namespace {

using namespace cdaudio;
using test::send;
using test::useScript;

using CdAudioDevice = test::CdAudioTest;

const char* const kThreeTracks = "track 150\ntrack 20000\ntrack 40000\nleadout 60000\n";

// A drive another device would find taken while this one holds it.
class HeldDrive : public Drive {
 public:
  explicit HeldDrive(bool* held) : held_(held) {}
  bool acquire() override {
    if (*held_) return false;
    *held_ = true;
    return true;
  }
  void release() override { *held_ = false; }
  DriveState state() override { return DriveState::Ready; }
  std::optional<Toc> toc() override { return Toc{{{150}}, 1000}; }

 private:
  bool* held_;
};

TEST_F(CdAudioDevice, OpensOnceAndClosesOnce) {
  useScript(kThreeTracks);
  EXPECT_EQ(send("status cdaudio mode").code, kInvalidDevice) << "not open yet";
  const test::Sent opened = send("  OPEN   CDAudio\tShareable ");
  EXPECT_EQ(opened.code, kOk);
  EXPECT_EQ(opened.reply, "1");
  const test::Sent again = send("open cdaudio");
  EXPECT_EQ(again.code, kDeviceOpen);
  EXPECT_EQ(again.reply, "");
  EXPECT_EQ(send("status cdaudio mode").reply, "stopped") << "the failed open left the device open";
  EXPECT_EQ(send("close cdaudio").code, kOk);
  EXPECT_EQ(send("close cdaudio").code, kInvalidDevice);
  EXPECT_EQ(send("status cdaudio number of tracks").code, kInvalidDevice);
  EXPECT_EQ(send("open cdaudio").reply, "1");
}

TEST_F(CdAudioDevice, AnswersOnlyToItsOwnName) {
  useScript(kThreeTracks);
  EXPECT_EQ(send("open cdrom").code, kInvalidDevice);
  ASSERT_EQ(send("open cdaudio").code, kOk);
  for (const char* command :
       {"status cdrom mode", "status", "close waveaudio", "set cdaudio2 time format msf"})
    EXPECT_EQ(send(command).code, kInvalidDevice) << command;
  EXPECT_EQ(send("status cdaudio mode").code, kOk);
}

TEST_F(CdAudioDevice, ClosingOrChangingTheDriveLetsItGo) {
  bool held = false;
  useDrive(std::make_unique<HeldDrive>(&held));
  ASSERT_EQ(send("open cdaudio").code, kOk);
  EXPECT_TRUE(held);
  send("close cdaudio");
  EXPECT_FALSE(held);

  ASSERT_EQ(send("open cdaudio").code, kOk);
  useScript(kThreeTracks);
  EXPECT_FALSE(held) << "installing a drive closes the device";
  EXPECT_EQ(send("status cdaudio mode").code, kInvalidDevice);
}

TEST_F(CdAudioDevice, ADriveAnotherProgramHoldsDoesNotOpen) {
  useScript("inuse\ntrack 150\nleadout 1000");
  EXPECT_EQ(send("open cdaudio").code, kInUse);
  EXPECT_EQ(send("status cdaudio ready").code, kInvalidDevice);
}

TEST_F(CdAudioDevice, ReadyAndModeFollowTheDrive) {
  struct Case {
    const char* script;
    const char* ready;
    const char* mode;
    int discCode;  // of the questions about the disc itself
  };
  const Case cases[] = {
      {kThreeTracks, "true", "stopped", kOk},
      {"", "false", "stopped", kHardware},  // a disc in, but no table of contents to read
      {"state open\ntrack 150\nleadout 1000", "true", "open", kNotReady},
      {"state nodisc", "false", "not ready", kNotReady},
      {"state notready\ntrack 150\nleadout 1000", "false", "not ready", kNotReady},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    useScript(c.script);
    ASSERT_EQ(send("open cdaudio").code, kOk);
    const test::Sent ready = send("status cdaudio ready");
    EXPECT_EQ(ready.code, kOk);
    EXPECT_EQ(ready.reply, c.ready);
    const test::Sent mode = send("status cdaudio mode");
    EXPECT_EQ(mode.code, kOk);
    EXPECT_EQ(mode.reply, c.mode);
    for (const char* question :
         {"status cdaudio number of tracks", "status cdaudio length", "status cdaudio length track 1",
          "status cdaudio position track 3", "status cdaudio type track 1"})
      EXPECT_EQ(send(question).code, c.discCode) << question;
    if (c.discCode != kOk) {
      EXPECT_EQ(send("status cdaudio length track 99").code, c.discCode)
          << "the disc comes before its tracks";
    }
  }
}

// A script of `tracks` tracks `apart` frames apart from the pregap on, and the lead-out at `leadOut`.
QString discScript(int tracks, int apart, int leadOut) {
  QString script;
  for (int i = 0; i < tracks; ++i)
    script += QString("track %1\n").arg(150 + i * apart);
  return script + QString("leadout %1\n").arg(leadOut);
}

TEST_F(CdAudioDevice, ADiscBeyondWhatAnAudioCdHoldsCannotBeRead) {
  constexpr int kLastAddress = 99 * 4500 + 59 * 75 + 74;  // 99:59:74
  const struct {
    const char* name;
    QString script;
    bool readable;
  } cases[] = {
      {"99 tracks", discScript(99, 4500, 99 * 4500 + 150), true},
      {"the lead-out at 99:59:74", discScript(2, 4500, kLastAddress), true},
      {"100 tracks", discScript(100, 4000, 100 * 4000 + 150), false},
      {"300 tracks", discScript(300, 1000, 300 * 1000 + 150), false},
      {"the lead-out at 100:00:00", discScript(2, 4500, kLastAddress + 1), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    useScript(c.script);
    ASSERT_EQ(send("open cdaudio").code, kOk);
    EXPECT_EQ(send("status cdaudio ready").reply, c.readable ? "true" : "false");
    EXPECT_EQ(send("status cdaudio mode").reply, "stopped");
    const int code = c.readable ? kOk : kHardware;
    for (const char* question : {"status cdaudio number of tracks", "status cdaudio length",
                                 "status cdaudio length track 2", "status cdaudio position track 1"})
      EXPECT_EQ(send(question).code, code) << question;
    if (c.readable) {
      EXPECT_EQ(send("status cdaudio length").reply.size(), 8) << "mm:ss:ff";
    }
    send("close cdaudio");
  }
}

TEST_F(CdAudioDevice, RefusesWhatItCannotDo) {
  useScript(kThreeTracks);
  ASSERT_EQ(send("open cdaudio").code, kOk);
  struct Case {
    const char* command;
    int code;
  };
  const Case cases[] = {
      {"", kUnrecognizedCommand},
      {"play cdaudio", kUnrecognizedCommand},
      {"status cdaudio volume", kUnrecognizedCommand},
      {"status cdaudio number of", kUnrecognizedCommand},
      {"status cdaudio ready now", kUnrecognizedCommand},
      {"status cdaudio length track 2 3", kUnrecognizedCommand},
      {"status cdaudio length of track 2", kUnrecognizedCommand},
      {"set cdaudio door open", kUnrecognizedCommand},
      {"close cdaudio now", kUnrecognizedCommand},
      {"status cdaudio", kMissingParameter},
      {"status cdaudio length track", kMissingParameter},
      {"status cdaudio position track", kMissingParameter},
      {"status cdaudio type track", kMissingParameter},
      {"status cdaudio type", kMissingParameter},
      {"set cdaudio", kMissingParameter},
      {"set cdaudio time format", kMissingParameter},
      {"status cdaudio length track 0", kOutOfRange},
      {"status cdaudio length track 4", kOutOfRange},
      {"status cdaudio position track 99999999999", kOutOfRange},
      {"status cdaudio type track two", kOutOfRange},
      {"status cdaudio type track -1", kOutOfRange},
      {"set cdaudio time format frames", kBadValue},
      {"set cdaudio time format milliseconds", kBadValue},
  };
  for (const Case& c : cases) {
    const test::Sent sent = send(c.command);
    EXPECT_EQ(sent.code, c.code) << c.command;
    EXPECT_EQ(sent.reply, "") << c.command;
  }
  EXPECT_EQ(send("status cdaudio number of tracks").reply, "3") << "refused commands leave the device be";
}

TEST_F(CdAudioDevice, AScriptedFailureHitsExactlyItsCommand) {
  useScript(
      "FAIL 262  Status CDAudio length track 2\nfail 276 status cdaudio ready\nfail 267 open cdaudio "
      "shareable\n" +
      QString(kThreeTracks));
  EXPECT_EQ(send("open cdaudio shareable").code, kInUse);
  EXPECT_EQ(send("status cdaudio ready").code, 276)
      << "failures come before the check that the device is open";
  ASSERT_EQ(send("open cdaudio").code, kOk);
  const test::Sent failed = send("status cdaudio  LENGTH track 2");
  EXPECT_EQ(failed.code, kHardware);
  EXPECT_EQ(failed.reply, "");
  EXPECT_EQ(send("status cdaudio length track 3").code, kOk);
  EXPECT_EQ(send("status cdaudio length").code, kOk);
  EXPECT_EQ(send("status cdaudio ready").code, kNotReady);
}

}  // namespace
