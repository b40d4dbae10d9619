#include "storage/window_layout.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>

#include "platform/runtime/threads.h"
#include "platform/runtime/window.h"
#include "platform/settings/settings_file.h"
#include "tests/support/ui_driver.h"
#include "tests/support/workspace.h"

namespace {

class WindowLayout : public ::testing::Test {
 protected:
  void TearDown() override { rt::abandonAll(); }

  // Opens a window, restores it from the section, lets `act` do what the user does, saves and closes.
  void session(bool resizable, const std::function<void(rt::Window&)>& act) {
    bool done = false;
    rt::start([&] {
      rt::Window w(
          {.title = "Placed", .size = {200, 120}, .kind = rt::WindowKind::Dialog, .resizable = resizable});
      w.open();
      RestoreWindowPosition(w, "Placed");
      act(w);
      SaveWindowPosition(w, "Placed");
      w.close();
      done = true;
    });
    ASSERT_TRUE(test::runUntil([&] { return done; }));
  }
  QString stored(const char* entry) { return settings::read(".\\POSITION.INI", "Placed", entry); }

  test::Workspace ws;
};

TEST_F(WindowLayout, APositionRoundTrips) {
  session(true, [](rt::Window& w) {
    w.moveTo({40, 50});
    w.resizeTo({300, 200});
  });
  EXPECT_EQ(stored("XPosit"), "40");
  EXPECT_EQ(stored("Width"), "300");
  EXPECT_EQ(stored("Maximize"), "No");
  QRect seen;
  session(true, [&](rt::Window& w) { seen = w.normalGeometry(); });
  EXPECT_EQ(seen, QRect(40, 50, 300, 200));
}

TEST_F(WindowLayout, AFixedWindowMovesButKeepsItsSize) {
  settings::write(".\\POSITION.INI", "Placed", "XPosit", "70");
  settings::write(".\\POSITION.INI", "Placed", "YPosit", "80");
  settings::write(".\\POSITION.INI", "Placed", "Width", "900");
  settings::write(".\\POSITION.INI", "Placed", "Height", "900");
  QRect seen;
  session(false, [&](rt::Window& w) { seen = w.normalGeometry(); });
  EXPECT_EQ(seen, QRect(70, 80, 200, 120));
}

TEST_F(WindowLayout, AWindowClosedWhileMinimisedKeepsItsOldPosition) {
  session(true, [](rt::Window& w) { w.moveTo({40, 50}); });
  session(true, [](rt::Window& w) {
    w.moveTo({400, 300});
    w.widget()->showMinimized();
  });
  EXPECT_EQ(stored("XPosit"), "40");
}

TEST_F(WindowLayout, AStoredZeroCountsAsMissing) {
  settings::write(".\\POSITION.INI", "Placed", "XPosit", "0");
  settings::write(".\\POSITION.INI", "Placed", "YPosit", "90");
  settings::write(".\\POSITION.INI", "Placed", "Maximize", "Yes");
  QRect before, after;
  bool maximized = true;
  session(true, [&](rt::Window& w) {
    after = w.normalGeometry();
    maximized = w.isMaximized();
  });
  EXPECT_FALSE(maximized) << "nothing at all is restored without a left edge";
  EXPECT_NE(after.y(), 90);
}

TEST_F(WindowLayout, AMaximisedWindowIsSavedWithItsNormalPlace) {
  session(true, [](rt::Window& w) {
    w.moveTo({30, 40});
    w.maximize();
  });
  EXPECT_EQ(stored("Maximize"), "Yes");
  EXPECT_EQ(stored("XPosit"), "30");
  bool maximized = false;
  session(true, [&](rt::Window& w) { maximized = w.isMaximized(); });
  EXPECT_TRUE(maximized);
}

TEST_F(WindowLayout, AStoredPlaceIsCutToTheScreen) {
  const struct {
    const char *x, *y, *width, *height;
    bool resizable;
  } cases[] = {
      {"50", "60", "100000000", "100000000", true},
      {"100000000", "-100000000", "300", "200", true},
      {"-7", "9", "-300", "200", true},
      {"100000000", "100000000", "10", "10", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.width << "x" << c.height);
    for (const auto& [entry, value] : {std::pair{"XPosit", c.x}, std::pair{"YPosit", c.y},
                                       std::pair{"Width", c.width}, std::pair{"Height", c.height}})
      settings::write(".\\POSITION.INI", "Placed", entry, value);
    QRect seen, screen;
    session(c.resizable, [&](rt::Window& w) {
      seen = w.normalGeometry();
      screen = w.widget()->screen()->availableVirtualGeometry();
    });
    EXPECT_TRUE(screen.contains(seen)) << seen.x() << "," << seen.y() << " " << seen.width() << "x"
                                       << seen.height() << " on " << screen.width() << "x" << screen.height();
    EXPECT_LE(stored("Width").toInt(), screen.width()) << "nothing larger than the screen is saved back";
    EXPECT_LE(stored("Height").toInt(), screen.height());
  }
}

TEST_F(WindowLayout, ASavedLayoutThatIsNoFormatGivesWayToTheDesign) {
  const QString designed = "80L(2)|M~Artist~@s50@[10R|M@p(<)pb@12R|M@n3b@](21)|M~Track~";
  settings::write(".\\POSITION.INI", "BrowseSongs", "SRCFOriginal?Browse", designed);
  for (const QString& saved : {QString(5000, '[') + "10R@s2@" + QString(5000, ']'), QString("[[10R]]"),
                               QString("77L(2)|M~Artist")}) {
    settings::write(".\\POSITION.INI", "BrowseSongs", "SRCF?Browse", saved);
    EXPECT_EQ(RestoreListLayout("BrowseSongs", "Browse", designed), designed) << saved.left(20).toStdString();
  }
}

TEST_F(WindowLayout, AChangedDesignDropsTheUsersLayoutOnce) {
  const QString v1 = "80L(2)|M~Artist~@s50@", v2 = "80L(2)|M~Artist~@s50@60L(2)|M~Title~@s50@";
  EXPECT_EQ(RestoreListLayout("BrowseSongs", "Browse", v1), v1);
  SaveListLayout("BrowseSongs", "Browse", "120L(2)|M~Artist~@s50@");
  EXPECT_EQ(RestoreListLayout("BrowseSongs", "Browse", v1), "120L(2)|M~Artist~@s50@");
  // A new version of the window:
  EXPECT_EQ(RestoreListLayout("BrowseSongs", "Browse", v2), v2);
  SaveListLayout("BrowseSongs", "Browse", "70L(2)|M~Artist~@s50@60L(2)|M~Title~@s50@");
  EXPECT_EQ(RestoreListLayout("BrowseSongs", "Browse", v2), "70L(2)|M~Artist~@s50@60L(2)|M~Title~@s50@");
  EXPECT_EQ(settings::read(".\\POSITION.INI", "BrowseSongs", "SRCFOriginal?Browse"), v2);
}

}  // namespace
