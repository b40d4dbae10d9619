#include "platform/runtime/list_box.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QTableView>

#include "platform/runtime/threads.h"
#include "platform/runtime/window.h"
#include "tests/support/ui_driver.h"

namespace {

class ListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::start([this] {
      rt::Window w({.title = "Lister", .size = {400, 300}, .kind = rt::WindowKind::Dialog});
      w.add({.kind = rt::ControlKind::List, .number = 1, .rect = {0, 0, 400, 300}});
      w.open();
      list = w.control(1)->list();
      list->setFormat("60L(2)|M~Artist~@s50@[10R|M@p(<)pb@12R|M@n3b@](21)|M~Track~40R~Time~C(0)@t4b@");
      list->setRows({{"ABBA", "(1)", "2", "00:03:00"}, {"Blur", "(1)", "3", "00:02:00"}});
      while (w.accept())
        if (w.event().kind != rt::EventKind::OpenWindow) events.push_back(w.event().kind);
      w.close();
    });
    ASSERT_TRUE(test::waitForWindow("Lister"));
    test::settle();
  }
  void TearDown() override {
    if (QWidget* w = test::window("Lister")) w->close();
    test::runUntil([] { return rt::liveThreads() == 0; });
    rt::abandonAll();
  }
  rt::ListBox* list = nullptr;
  std::vector<rt::EventKind> events;
};

TEST_F(ListBoxTest, TheFormatLaysOutTheColumnsAndReportsTheWidthsTheUserDrags) {
  QTableView* view = test::window("Lister")->findChild<QTableView*>();
  QStringList headers;
  for (int c = 0; c < view->model()->columnCount(); ++c)
    headers << view->model()->headerData(c, Qt::Horizontal).toString();
  EXPECT_EQ(headers, QStringList({"Artist", "Track", "", "Time"}))
      << "a group's header stands over its first column";
  EXPECT_EQ(view->horizontalHeader()->sectionSize(0), 120);
  view->horizontalHeader()->resizeSection(0, 200);
  EXPECT_EQ(list->format(), "100L(2)|M~Artist~@s50@[10R|M@p(<)pb@12R|M@n3b@](21)|M~Track~40R~Time~C(0)@t4b@");
  EXPECT_FALSE(list->setFormat("not a format"));
  EXPECT_EQ(list->columnCount(), 4) << "a format that does not parse changes nothing";
}

// A group's heading is laid over all its columns: "Track" over the narrow side and track columns
// is drawn whole, not cut to the first one's width.
TEST_F(ListBoxTest, AGroupsHeadingIsDrawnOverTheWholeGroup) {
  QHeaderView* header = test::window("Lister")->findChild<QTableView*>()->horizontalHeader();
  const QImage shot = header->grab().toImage();
  const int left = header->sectionViewportPosition(1);
  const int right = left + header->sectionSize(1) + header->sectionSize(2);
  // The columns of the header image where the heading's text has dark pixels.
  int first = -1, last = -1;
  for (int x = left + 2; x < right - 2; ++x)
    for (int y = 2; y < shot.height() - 2; ++y)
      if (qGray(shot.pixel(x, y)) < 100) {
        if (first < 0) first = x;
        last = x;
      }
  ASSERT_GE(first, 0) << "the heading shows";
  EXPECT_GE(last - first + 1, header->fontMetrics().horizontalAdvance("Track") - 4)
      << "the text runs on past the first column (" << header->sectionSize(1) << " pixels)";
}

TEST_F(ListBoxTest, MovingPastThePageAsksTheWindow) {
  QWidget* w = test::window("Lister");
  test::clickRow(w, 1);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), rt::EventKind::NewSelection);
  EXPECT_EQ(list->selected(), 1);
  const struct {
    int key;
    rt::EventKind expected;
  } cases[] = {{Qt::Key_Down, rt::EventKind::ScrollDown},
               {Qt::Key_PageDown, rt::EventKind::PageDown},
               {Qt::Key_PageUp, rt::EventKind::PageUp},
               {Qt::Key_Home, rt::EventKind::ScrollTop},
               {Qt::Key_End, rt::EventKind::ScrollBottom}};
  for (const auto& c : cases) {
    test::keyInList(w, c.key);
    EXPECT_EQ(events.back(), c.expected) << c.key;
  }
  test::keyInList(w, Qt::Key_Up);
  EXPECT_EQ(list->selected(), 0) << "within the page a key only moves the highlight";
  test::keyInList(w, Qt::Key_Up);
  EXPECT_EQ(events.back(), rt::EventKind::ScrollUp);
  test::dragThumb(w, 40);
  EXPECT_EQ(events.back(), rt::EventKind::ScrollDrag);
}

}  // namespace
