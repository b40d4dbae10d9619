#include "platform/settings/settings_file.h"

#include <gtest/gtest.h>

#include "tests/support/workspace.h"

namespace {

TEST(SettingsFile, MissingFileSectionOrEntryGivesTheFallback) {
  test::Workspace ws;
  EXPECT_EQ(settings::read("none.ini", "S", "E", "dflt"), "dflt");
  EXPECT_EQ(settings::read("none.ini", "S", "E"), "");
  ASSERT_TRUE(settings::write("a.ini", "S", "E", "v"));
  EXPECT_EQ(settings::read("a.ini", "Other", "E", "d"), "d");
  EXPECT_EQ(settings::read("a.ini", "S", "Other", "d"), "d");
}

TEST(SettingsFile, NamesMatchWithoutCaseAndAreNotEscaped) {
  test::Workspace ws;
  ASSERT_TRUE(settings::write(".\\POSITION.INI", "BrowseSongs", "SRCF?Browse:1", "77L(2)|M~Artist~@s50@"));
  EXPECT_EQ(settings::read("POSITION.INI", "browsesongs", "srcf?browse:1"), "77L(2)|M~Artist~@s50@");
  EXPECT_TRUE(test::readFile(ws.file("POSITION.INI")).contains("SRCF?Browse:1=77L(2)|M~Artist~@s50@"));
}

TEST(SettingsFile, WritesReplaceInPlaceAndKeepEverythingElse) {
  test::Workspace ws;
  test::writeFile(
      ws.file("k.ini"),
      "; a comment\n[Settings]\nAddMode=1\nthis line is garbage\nUDKPrompt=Custom\n\n[Main]\nX=1\n");
  ASSERT_TRUE(settings::write("k.ini", "settings", "ADDMODE", "Normal"));
  ASSERT_TRUE(settings::write("k.ini", "Settings", "Logo", "a.gif"));
  ASSERT_TRUE(settings::write("k.ini", "Fonts", "FontNameX", "Arial"));
  EXPECT_EQ(test::readFile(ws.file("k.ini")),
            "; a comment\n[Settings]\nADDMODE=Normal\nthis line is garbage\nUDKPrompt=Custom\nLogo=a.gif\n\n"
            "[Main]\nX=1\n\n[Fonts]\nFontNameX=Arial\n");
}

TEST(SettingsFile, GarbageNeverBreaksReading) {
  test::Workspace ws;
  const QByteArray junk(5000, 'x');
  test::writeFile(ws.file("g.ini"), "=no name\n[Broken\n]\n[S]\n" + junk +
                                        "\nE =  \"quoted value\"  \nEmpty=\nLong=" + junk +
                                        "\n\r\n[S2]\nE=second\n");
  EXPECT_EQ(settings::read("g.ini", "S", "E", "d"), "quoted value");
  EXPECT_EQ(settings::read("g.ini", "S", "Empty", "d"), "") << "an entry that stands empty is not missing";
  EXPECT_EQ(settings::read("g.ini", "S", "Long").size(), junk.size());
  EXPECT_EQ(settings::read("g.ini", "S2", "E"), "second");
}

TEST(SettingsFile, ValuesStayOnOneLine) {
  test::Workspace ws;
  ASSERT_TRUE(settings::write("v.ini", "S", "E", "two\nlines"));
  ASSERT_TRUE(settings::write("v.ini", "S", "F", "x"));
  EXPECT_EQ(settings::read("v.ini", "S", "E"), "two lines");
  EXPECT_EQ(settings::read("v.ini", "S", "F"), "x");
}

TEST(SettingsFile, SystemFileLivesInTheConfigurationFolder) {
  test::Workspace ws;
  EXPECT_EQ(settings::systemFile(), ws.configDir() + "/kvx98.ini");
  ASSERT_TRUE(settings::write(settings::systemFile(), "kvx98", "BadFile", "kvxdata"));
  EXPECT_EQ(settings::read(settings::systemFile(), "kvx98", "BadFile"), "kvxdata");
}

TEST(SettingsFile, NumbersAreReadFromTheLeadingDigits) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"", 0},    {"12", 12}, {" -3 ", -3}, {"1.8i", 1.8}, {"5.1", 5.1},
               {"abc", 0}, {"-", 0},   {".", 0},     {"7.", 7},     {"+4x", 4}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(settings::numberOf(c.text), c.value) << c.text;
  EXPECT_EQ(settings::wholeNumberOf("99999999999999999999999"), 0);
  EXPECT_EQ(settings::wholeNumberOf("12.9"), 12);
}

}  // namespace
