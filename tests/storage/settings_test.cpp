#include "storage/settings.h"

#include <gtest/gtest.h>

#include "tests/support/workspace.h"

namespace {

class Preferences : public ::testing::Test {
 protected:
  void SetUp() override { SettingsFileName = "KVXPro98.INI"; }
  void TearDown() override { SettingsFileName.clear(); }
  test::Workspace ws;
};

TEST_F(Preferences, WithoutAFileEveryPreferenceTakesItsDefault) {
  LoadPreferences();
  EXPECT_EQ(Pref::SU_Albums + Pref::SU_Songs + Pref::SU_Playlists + Pref::SU_Labels, 0);
  EXPECT_EQ(Pref::AutoAddToAlbums.str(), "1");
  EXPECT_EQ(Pref::AddMode.str(), "1");
  EXPECT_EQ(Pref::LabelArtistTitleOrder.str(), "1");
  EXPECT_EQ(GLO::Delimiter.str(), ".");
  EXPECT_EQ(Pref::UDKPrompt.str(), "Custom");
  EXPECT_EQ(Pref::NotesLabel.str(), "Notes");
  EXPECT_TRUE(Pref::DateFormat.isBlank() && Pref::Logo.isBlank());
  EXPECT_EQ(Pref::Interface.str(), "Standard");
  EXPECT_EQ(Pref::UseLog + Pref::SetupWizardComplete + Pref::DefaultWizardCompilation + Pref::AltCasFmt +
                Pref::DbgMode,
            0);
  EXPECT_EQ(Pref::SaveLastTab, 1);
  EXPECT_EQ(Pref::ShowTips, 1);
}

TEST_F(Preferences, StoredValuesAreReadAndBadOnesNeverBreakLoading) {
  const QByteArray longPrompt(300, 'u');
  test::writeFile(ws.file("KVXPro98.INI"),
                  "garbage before any section\n[Settings]\nSU_Songs=1\nShowTips=yes please\nSaveLastTab=0\n"
                  "UDKPrompt=" +
                      longPrompt + "\nGLO:Delimiter=]\nInterface=explorer\n===\n[Other]\nSU_Albums=1\n");
  LoadPreferences();
  EXPECT_EQ(Pref::SU_Songs, 1);
  EXPECT_EQ(Pref::SU_Albums, 0) << "an entry of another section is not a preference";
  EXPECT_EQ(Pref::ShowTips, 0) << "a flag that is not a number reads as 0";
  EXPECT_EQ(Pref::SaveLastTab, 0);
  EXPECT_EQ(Pref::UDKPrompt.str(), QString(24, 'u')) << "cut to the width of its value";
  EXPECT_EQ(GLO::Delimiter.str(), "]");
  EXPECT_EQ(Pref::Interface.str(), "explorer");
}

TEST_F(Preferences, BeforeTheFrameStartsSettingsGoToTheSystemFile) {
  SettingsFileName.clear();
  WriteSetting("Settings", "UDKPrompt", "Label");
  EXPECT_EQ(test::readFile(ws.configDir() + "/kvx98.ini"), "[Settings]\nUDKPrompt=Label\n");
}

}  // namespace
