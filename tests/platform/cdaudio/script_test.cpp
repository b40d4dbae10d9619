#include <gtest/gtest.h>

#include "platform/cdaudio/cdaudio.h"
#include "tests/platform/cdaudio/cdaudio_test_support.h"
#include "tests/support/workspace.h"

namespace {

using namespace cdaudio;
using test::send;

using CdAudioScript = test::CdAudioTest;

TEST(CdAudioScriptText, ReadsEveryStatement) {
  QString error;
  const std::optional<Script> script = parseScript(
      "# an enhanced CD\r\n"
      "\n"
      "  STATE   NotReady  # the drive is spinning up\n"
      "inuse\n"
      "track 150\n"
      "Track 27000 DATA\n"
      "leadout 40000\n"
      "fail 262   Status CDAudio length   track 2\n",
      &error);
  ASSERT_TRUE(script) << error.toStdString();
  EXPECT_EQ(script->state, DriveState::NotReady);
  EXPECT_TRUE(script->inUse);
  ASSERT_EQ(script->toc.tracks.size(), 2u);
  EXPECT_EQ(script->toc.tracks[0].start, 150);
  EXPECT_FALSE(script->toc.tracks[0].data);
  EXPECT_EQ(script->toc.tracks[1].start, 27000);
  EXPECT_TRUE(script->toc.tracks[1].data);
  EXPECT_EQ(script->toc.leadOut, 40000);
  EXPECT_EQ(script->failures, (std::map<QString, int>{{"status cdaudio length track 2", 262}}));
}

TEST(CdAudioScriptText, NothingAtAllIsAReadyDriveWithAnEmptyDisc) {
  QString error;
  const std::optional<Script> script = parseScript("# no disc to speak of\n\n", &error);
  ASSERT_TRUE(script) << error.toStdString();
  EXPECT_EQ(script->state, DriveState::Ready);
  EXPECT_FALSE(script->inUse);
  EXPECT_TRUE(script->toc.tracks.empty());
  EXPECT_TRUE(script->failures.empty());
}

TEST(CdAudioScriptText, RefusesWhatIsNoScriptNamingTheLine) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"state ready\nspin fast", 2},
      {"state sideways", 1},
      {"state", 1},
      {"state ready\nstate open", 2},
      {"# comments and blank lines count\n\ninuse yes", 3},
      {"track", 1},
      {"track 150 audio", 1},
      {"track 150\ntrack 2x\nleadout 900", 2},
      {"track 150\ntrack -5\nleadout 900", 2},
      {"track 150\ntrack 99999999999\nleadout 900", 2},
      {"track 150\ntrack 150\nleadout 900", 2},
      {"track 150\ntrack 100\nleadout 900", 2},
      {"track 150\ntrack 900\nleadout 900", 3},
      {"track 150\nleadout 900\ntrack 1000", 3},
      {"track 150\ntrack 900\n\n# no leadout", 2},
      {"leadout 900\nleadout 1000", 2},
      {"leadout", 1},
      {"fail 262", 1},
      {"fail 0 status cdaudio ready", 1},
      {"fail x status cdaudio ready", 1},
      {"fail 262 open cdaudio\nfail 263 OPEN  cdaudio", 2},
  };
  for (const Case& c : cases) {
    QString error;
    EXPECT_FALSE(parseScript(c.text, &error)) << c.text;
    EXPECT_TRUE(error.startsWith(QString("line %1: ").arg(c.line)))
        << c.text << " -> " << error.toStdString();
    EXPECT_GT(error.size(), QString("line %1: ").arg(c.line).size()) << "says what is wrong: " << c.text;
  }
}

TEST_F(CdAudioScript, TheEnvironmentNamesTheDefaultDrive) {
  test::Workspace ws;
  test::writeFile(ws.file("one.cd"), "track 150\nleadout 9000\n");
  test::writeFile(ws.file("two.cd"), "track 150\ntrack 4000\nleadout 9000\n");
  qputenv("KVX_CDAUDIO_SCRIPT", ws.file("one.cd").toUtf8());
  useDrive(nullptr);
  ASSERT_EQ(send("open cdaudio").code, kOk);
  EXPECT_EQ(send("status cdaudio number of tracks").reply, "1");

  qputenv("KVX_CDAUDIO_SCRIPT", ws.file("two.cd").toUtf8());
  test::writeFile(ws.file("one.cd"), "state open\n");
  EXPECT_EQ(send("status cdaudio number of tracks").reply, "1") << "the script is read once";

  useDrive(nullptr);
  EXPECT_EQ(send("status cdaudio mode").code, kInvalidDevice)
      << "going back to the default closes the device";
  ASSERT_EQ(send("open cdaudio").code, kOk);
  EXPECT_EQ(send("status cdaudio number of tracks").reply, "2");
}

TEST_F(CdAudioScript, ABrokenScriptIsNoDriveAndSaysSoOnce) {
  test::Workspace ws;
  test::writeFile(ws.file("bad.cd"), "track 150\nleadout 100\n");
  qputenv("KVX_CDAUDIO_SCRIPT", ws.file("bad.cd").toUtf8());
  useDrive(nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(send("open cdaudio").code, kNoDrive);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("bad.cd"), std::string::npos) << said;
  EXPECT_NE(said.find("line 2: "), std::string::npos) << said;

  testing::internal::CaptureStderr();
  EXPECT_EQ(send("open cdaudio").code, kNoDrive);
  EXPECT_EQ(send("status cdaudio ready").code, kInvalidDevice);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(CdAudioScript, AMissingScriptIsNoDrive) {
  test::Workspace ws;
  qputenv("KVX_CDAUDIO_SCRIPT", ws.file("absent.cd").toUtf8());
  useDrive(nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(send("open cdaudio").code, kNoDrive);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("absent.cd"), std::string::npos);
}

}  // namespace
