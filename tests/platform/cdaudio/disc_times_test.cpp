#include <gtest/gtest.h>

#include "platform/cdaudio/cdaudio.h"
#include "tests/platform/cdaudio/cdaudio_test_support.h"

namespace {

using namespace cdaudio;
using test::send;
using test::useScript;

using CdAudioTimes = test::CdAudioTest;

// A pressed twelve-track album; the starts are whole mm:ss:ff values (frames = (m * 60 + s) * 75 + f)
// so that every expected time below can be checked by subtracting by hand.
const char* const kAlbum =
    "track 150\n"        // 00:02:00
    "track 18767\n"      // 04:10:17
    "track 35625\n"      // 07:55:00
    "track 54149\n"      // 12:01:74
    "track 69760\n"      // 15:30:10
    "track 88875\n"      // 19:45:00
    "track 108037\n"     // 24:00:37
    "track 126905\n"     // 28:12:05
    "track 151008\n"     // 33:33:33
    "track 171000\n"     // 38:00:00
    "track 188999\n"     // 41:59:74
    "track 208500\n"     // 46:20:00
    "leadout 333931\n";  // 74:12:31

// Three audio tracks in the first session, its lead-out at 10:00:00 (45000); the data track of the
// second session starts 11400 frames later, at 12:32:00.
const char* const kEnhanced = "track 150\ntrack 13500\ntrack 27000\ntrack 56400 data\nleadout 76400\n";

void openWith(const char* script) {
  useScript(script);
  ASSERT_EQ(send("open cdaudio").code, kOk);
}

QString reply(const QString& command) {
  const test::Sent sent = send(command);
  EXPECT_EQ(sent.code, kOk) << command.toStdString();
  return sent.reply;
}

TEST_F(CdAudioTimes, AnAlbumsTracksRunToTheNextOne) {
  openWith(kAlbum);
  EXPECT_EQ(reply("status cdaudio number of tracks"), "12");
  const std::pair<int, const char*> lengths[] = {
      {1, "04:08:17"}, {2, "03:44:58"},  {4, "03:28:11"},
      {9, "04:26:42"}, {11, "04:20:01"}, {12, "27:52:30"},  // one frame short of the lead-out
  };
  for (const auto& [track, length] : lengths)
    EXPECT_EQ(reply(QString("status cdaudio length track %1").arg(track)), length) << track;
  EXPECT_EQ(reply("status cdaudio length"), "74:10:31") << "from track 1 to the lead-out, past 59 minutes";
}

TEST_F(CdAudioTimes, PositionsFollowTheTimeFormatButLengthsDoNot) {
  openWith(kAlbum);
  EXPECT_EQ(reply("status cdaudio position track 1"), "00:02:00");
  EXPECT_EQ(reply("status cdaudio position track 4"), "12:01:74");
  EXPECT_EQ(reply("status cdaudio position track 12"), "46:20:00");

  EXPECT_EQ(reply("set cdaudio time format tmsf"), "");
  EXPECT_EQ(reply("status cdaudio position track 1"), "01:00:00:00");
  EXPECT_EQ(reply("status cdaudio position track 12"), "12:00:00:00");
  EXPECT_EQ(reply("status cdaudio length track 12"), "27:52:30");
  EXPECT_EQ(reply("status cdaudio length"), "74:10:31");

  EXPECT_EQ(send("set cdaudio time format frames").code, kBadValue);
  EXPECT_EQ(reply("status cdaudio position track 4"), "04:00:00:00") << "a refused format changes nothing";

  send("close cdaudio");
  send("open cdaudio");
  EXPECT_EQ(reply("status cdaudio position track 4"), "12:01:74") << "every open starts in msf";
}

TEST_F(CdAudioTimes, AnEnhancedCdsAudioEndsWithItsSession) {
  openWith(kEnhanced);
  EXPECT_EQ(reply("status cdaudio number of tracks"), "4");
  EXPECT_EQ(reply("status cdaudio length track 2"), "03:00:00");
  EXPECT_EQ(reply("status cdaudio length track 3"), "04:00:00");
  EXPECT_EQ(reply("status cdaudio length track 4"), "04:26:49");
  EXPECT_EQ(reply("status cdaudio position track 4"), "12:32:00");
  EXPECT_EQ(reply("status cdaudio length"), "16:56:50");
  EXPECT_EQ(reply("status cdaudio type track 3"), "audio");
  EXPECT_EQ(reply("status cdaudio type track 4"), "other");
}

TEST_F(CdAudioTimes, OnlyAudioBeforeDataLosesTheSessionGap) {
  struct Case {
    const char* script;
    const char* firstLength;
  };
  const Case cases[] = {
      // A mixed-mode disc: the data track comes first and runs straight into the audio.
      {"track 150 data\ntrack 30150\nleadout 60000", "06:40:00"},
      // Two data tracks in a row share a session.
      {"track 150 data\ntrack 30150 data\nleadout 60000", "06:40:00"},
      // A data track closer than a session gap: the audio track before it cannot be played at all.
      {"track 150\ntrack 5150 data\nleadout 60000", "00:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    openWith(c.script);
    EXPECT_EQ(reply("status cdaudio length track 1"), c.firstLength);
  }
}

}  // namespace
