#include "platform/settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include "tests/support/workspace.h"

namespace {

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

// Each case writes one entry into a file as another program left it: the bytes after are exactly
// the bytes before but for the entry's own line.
TEST(SettingsFile, WritingAnEntryChangesNoOtherByte) {
  const struct {
    const char* name;
    QByteArray before;
    const char* entry;
    QString value;
    QByteArray after;
  } cases[] = {
      {"CR LF lines, a Windows-1252 byte and a garbage line",
       "[Settings]\r\nUDKPrompt=Caf\xE9\r\n\x01garbage \x9D\xFF\r\nAddMode=1\r\n", "AddMode", "2",
       "[Settings]\r\nUDKPrompt=Caf\xE9\r\n\x01garbage \x9D\xFF\r\nAddMode=2\r\n"},
      {"a new entry in a CR LF file", "[Settings]\r\nUDKPrompt=Caf\xE9\r\n\r\n[Fonts]\r\n", "Logo", "a.gif",
       "[Settings]\r\nUDKPrompt=Caf\xE9\r\nLogo=a.gif\r\n\r\n[Fonts]\r\n"},
      {"a Windows-1252 value into a Windows-1252 file", "[Settings]\r\nUDKPrompt=Caf\xE9\r\n", "NotesLabel",
       QString::fromUtf8("Bemerkung \xC3\xBC \xE2\x82\xAC"),
       "[Settings]\r\nUDKPrompt=Caf\xE9\r\nNotesLabel=Bemerkung \xFC \x80\r\n"},
      {"a UTF-8 file with a byte-order mark, mixed line ends and no end on its last line",
       "\xEF\xBB\xBF[Settings]\nUDKPrompt=Caf\xC3\xA9\r\nold mac line\rAddMode=1", "AddMode", "3",
       "\xEF\xBB\xBF[Settings]\nUDKPrompt=Caf\xC3\xA9\r\nold mac line\rAddMode=3"},
      {"a new entry after a last line without an end", "[Settings]\r\nAddMode=1", "Logo", "x",
       "[Settings]\r\nAddMode=1\r\nLogo=x\r\n"},
      {"a character Windows-1252 lacks makes the file UTF-8 with the same text",
       "[Settings]\r\nUDKPrompt=Caf\xE9\r\n", "NotesLabel", QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"),
       "[Settings]\r\nUDKPrompt=Caf\xC3\xA9\r\nNotesLabel=\xE6\x97\xA5\xE6\x9C\xAC\r\n"},
  };
  for (const auto& c : cases) {
    test::Workspace ws;
    test::writeFile(ws.file("KVXPro98.INI"), c.before);
    ASSERT_TRUE(settings::write("KVXPro98.INI", "Settings", c.entry, c.value)) << c.name;
    EXPECT_EQ(bytesOf(ws.file("KVXPro98.INI")), c.after) << c.name;
    EXPECT_EQ(settings::read("KVXPro98.INI", "Settings", c.entry), c.value) << c.name;
    if (c.before.contains("UDKPrompt")) {
      EXPECT_EQ(settings::read("KVXPro98.INI", "settings", "UDKPrompt"), QString::fromUtf8("Caf\xC3\xA9"))
          << c.name;
    }
  }
}

TEST(SettingsFile, WritingTheValueAnEntryHasLeavesTheFileAlone) {
  test::Workspace ws;
  test::writeFile(ws.file("KVXPro98.INI"), "[Global Settings]\r\nVersion=1.8i\r\n");
  struct stat before {
  }, after{};
  ASSERT_EQ(::stat(qPrintable(ws.file("KVXPro98.INI")), &before), 0);
  ASSERT_TRUE(settings::write("KVXPro98.INI", "Global Settings", "Version", "1.8i"));
  ASSERT_EQ(::stat(qPrintable(ws.file("KVXPro98.INI")), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino) << "the file was replaced";
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
