#include "platform/files/text_file.h"

#include <gtest/gtest.h>

#include "tests/support/workspace.h"

namespace {

struct LogRecord : files::Record {
  LogRecord() : Record("LOG") {}
  files::String<4> When{this, "When"};
  files::String<6> What{this, "What"};
};

struct LineRecord : files::Record {
  LineRecord() : Record("LIN") {}
  files::String<1024> Line{this, "Line"};
};

TEST(TextFile, FieldsLieAtTheirWidthsAndLinesAreAppended) {
  test::Workspace ws;
  LogRecord r;
  files::TextFile log(r, "Log", "test.LOG");
  ASSERT_TRUE(log.create().ok());
  ASSERT_TRUE(log.open().ok());
  r.When = "1";
  r.What = QString::fromUtf8("Ärzte-overlong");
  ASSERT_TRUE(log.add().ok());
  r.When = "22";
  r.What = "x";
  ASSERT_TRUE(log.add().ok());
  log.close();
  EXPECT_EQ(test::readFile(ws.file("test.LOG")), QString::fromUtf8("1   Ärzte-\r\n22  x     \r\n"));

  ASSERT_TRUE(log.open().ok());
  ASSERT_TRUE(log.next().ok());
  EXPECT_EQ(r.What.str(), QString::fromUtf8("Ärzte-"));
  ASSERT_TRUE(log.next().ok());
  EXPECT_EQ(r.When.str(), "22");
  EXPECT_EQ(log.next().code, files::kNoRecord);
}

TEST(TextFile, ReadingSkipsAByteOrderMarkAndTakesOtherTextAsWindows1252) {
  test::Workspace ws;
  LineRecord r;
  files::TextFile csv(r, "Csv", "in.csv");
  test::writeFile(ws.file("in.csv"), "\xEF\xBB\xBF\"Bj\xC3\xB6rk\",1\nlast");
  ASSERT_TRUE(csv.open(files::Access::ReadOnly).ok());
  ASSERT_TRUE(csv.next().ok());
  EXPECT_EQ(r.Line.str(), QString::fromUtf8("\"Björk\",1"));
  ASSERT_TRUE(csv.next().ok());
  EXPECT_EQ(r.Line.str(), "last");
  csv.close();

  test::writeFile(ws.file("in.csv"), "Bj\xF6rk \x80 \x93quoted\x94\r\n");
  ASSERT_TRUE(csv.open(files::Access::ReadOnly).ok());
  ASSERT_TRUE(csv.next().ok());
  EXPECT_EQ(r.Line.str(), QString::fromUtf8("Björk € “quoted”"));
  EXPECT_EQ(csv.add().code, files::kAccessDenied);
}

}  // namespace
