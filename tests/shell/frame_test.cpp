#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QWindow>

#include "platform/runtime/frame.h"
#include "shell/frame_menu.h"
#include "shell/shell.h"
#include "storage/requests.h"
#include "tests/shell/program_fixture.h"
#include "tests/support/ui_driver.h"

namespace {

using test::ProgramTest;

// "path|tip" of every item under `actions`, depth first, as the user meets them.
void listItems(const QList<QAction*>& actions, const QString& prefix, QStringList* out) {
  for (QAction* a : actions) {
    const QString path = prefix.isEmpty() ? a->text() : prefix + "/" + a->text();
    if (a->menu()) {
      listItems(a->menu()->actions(), path, out);
    } else {
      *out << path + "|" + a->statusTip();
    }
  }
}

TEST_F(ProgramTest, TheFrameHasEveryMenuItemAndToolbarButtonInOrder) {
  ASSERT_TRUE(start());
  EXPECT_EQ(frame()->windowTitle(), "Cantorix Pro 98");
  QStringList items;
  listItems(frame()->menuBar()->actions(), "", &items);
  EXPECT_EQ(items, QStringList({
                       "&File/&Print Setup ...|Setup printer",
                       "&File/Pre&ferences|Options and settings",
                       "&File/&Import|Import from a comma-delimited file",
                       "&File/&Export|Export to a comma-delimited file",
                       "&File/&CD Player|Start the CD Player",
                       "&File/E&xit|Exit this application",
                       "&Edit/Cu&t|Remove item to Windows Clipboard",
                       "&Edit/&Copy|Copy item to Windows Clipboard",
                       "&Edit/&Paste|Paste contents of Windows Clipboard",
                       "&Browse/&Albums|Browse Information by Album",
                       "&Browse/&Songs|Browse Cantorix Database",
                       "&Browse/&Wizards/Add &Album|Add an Album",
                       "&Browse/&Wizards/Quick &Compilation|",
                       "&Browse/&Wizards/Quick &Single Artist Album|",
                       "&Browse/&Wizards/Add &Label|",
                       "&Browse/&Labels|",
                       "&Browse/&Play Lists|",
                       "&Browse/&Categories|",
                       "&Browse/&Media Formats|Browse Media Formats",
                       "&Reports/&Songs/By &Artist|Print ordered by Songs By Artist",
                       "&Reports/&Songs/By &Title|Print ordered by Songs By Title",
                       "&Reports/&Songs/By A&lbum|Print ordered by Songs By Album",
                       "&Reports/&Songs/By &Media|Print ordered by Songs By Media",
                       "&Reports/&Songs/By &Category|Print ordered by Songs By Category",
                       "&Reports/&Songs/By &BPM|Songs by Beats Per Minute",
                       "&Reports/&Albums/By &Artist|Print List of Albums by Artist",
                       "&Reports/&Albums/By A&lbum|Print List of Albums",
                       "&Reports/&Albums/By &File Number|Print List of Albums by File Number",
                       "&Reports/&Albums/By &Category|",
                       "&Reports/CD Binder Pages|Print 4 per page CD listings",
                       "&Reports/Paper S&avers/By &Artist|",
                       "&Reports/Paper S&avers/By &Title|",
                       "&Reports/&Labels|Design and Print CD and Cassette Labels",
                       "&Reports/&Playlists|",
                       "&Reports/DJ Log|Log ordered by Artist and Title",
                       "&Window/T&ile|Make all open windows visible",
                       "&Window/&Cascade|Stack all open windows",
                       "&Window/&Arrange Icons|Align all window icons",
                       "&Help/&Contents|View the contents of the help file",
                       "&Help/&Search for Help On...|Search for help on a subject",
                       "&Help/&How to Use Help|How to use Windows Help",
                       "&Help/&Tips|View Tip of the Day",
                       "&Help/&About|Help About This Program",
                   }));
  QStringList buttons;
  for (QAction* a : frame()->findChild<QToolBar*>()->actions())
    if (!a->text().isEmpty()) buttons << a->text();
  EXPECT_EQ(buttons, QStringList({"Albums", "Songs", "Labels", "Playlists", "Play CD"}));
}

TEST_F(ProgramTest, AWindowThatIsNotBuiltYetSaysSoAndTheFrameGoesOn) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitForSplashToClose());
  for (const QStringList& path : {QStringList{"&Browse", "&Albums"}, QStringList{"&Reports", "DJ Log"},
                                  QStringList{"&File", "Pre&ferences"}}) {
    ASSERT_TRUE(test::chooseMenu(frame(), path)) << path.join('/').toStdString();
    ASSERT_TRUE(test::runUntil([] { return test::messageBox() != nullptr; }));
    EXPECT_EQ(test::messageBox()->text(), "This function is not available yet.");
    ASSERT_TRUE(test::answer("OK"));
  }
  frame()->findChild<QToolBar*>()->actions()[0]->trigger();  // "Albums"
  ASSERT_TRUE(test::runUntil([] { return test::messageBox("not available") != nullptr; }));
  EXPECT_EQ(test::messageBox()->windowTitle(), "Albums");
  ASSERT_TRUE(test::answer("OK"));
  EXPECT_TRUE(exit());
}

// The caption the X11 and Wayland platforms show for a top-level window: Qt adds " — " and the
// application's display name to the window's title when a display name has been set. One that has
// not been set follows the application name, which is how a test can tell.
QString shownCaption(QWidget* w) {
  const QString name = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName(name + "-probe");
  const bool displayNameSet = QGuiApplication::applicationDisplayName() != name + "-probe";
  QCoreApplication::setApplicationName(name);
  const QString title = w->windowHandle() ? w->windowHandle()->title() : QString("<no native window>");
  const QString displayName = QGuiApplication::applicationDisplayName();
  return displayNameSet && !title.endsWith(displayName) ? title + " \u2014 " + displayName : title;
}

TEST_F(ProgramTest, ACaptionIsExactlyItsText) {
  SetUpApplication();  // as the program's main() does
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitForSplashToClose());
  frame()->findChild<QToolBar*>()->actions()[0]->trigger();  // "Albums": not available yet
  ASSERT_TRUE(test::runUntil([] { return test::messageBox("not available") != nullptr; }));
  QMessageBox* box = test::messageBox("not available");
  EXPECT_EQ(box->windowTitle(), "Albums");
  EXPECT_EQ(shownCaption(box), "Albums");
  ASSERT_TRUE(test::answer("OK"));

  ASSERT_TRUE(test::chooseMenu(frame(), {"&Help", "&About"}));
  ASSERT_TRUE(test::waitForWindow("About Cantorix Pro 98"));
  QWidget* about = test::window("About Cantorix Pro 98");
  ASSERT_TRUE(about->isWindow());
  EXPECT_EQ(shownCaption(about), "About Cantorix Pro 98");
  test::click(test::button(about, "OK"));
  EXPECT_EQ(shownCaption(frame()), kProgramTitle);
  EXPECT_TRUE(exit());
}

TEST_F(ProgramTest, TheLastNonEmptyLogoSettingWins) {
  setSetting("KVXPro98.INI", "Global Settings", "FrameLogo", "frame.png");
  setSetting("KVXPro98.INI", "Settings", "Logo", "");
  setSetting("KVXPro98.INI", "Settings", "MainLogo", "main.png");
  ASSERT_TRUE(start());
  EXPECT_EQ(rt::Frame::instance()->toolPicture(cmd::ToolLogo), "main.png");
  ASSERT_TRUE(exit());
  setSetting("KVXPro98.INI", "Settings", "MainLogo", "");
  ASSERT_TRUE(start());
  EXPECT_EQ(rt::Frame::instance()->toolPicture(cmd::ToolLogo), "frame.png");
}

TEST_F(ProgramTest, TheAboutBoxShowsTheVersion) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitForSplashToClose());
  ASSERT_TRUE(test::chooseMenu(frame(), {"&Help", "&About"}));
  ASSERT_TRUE(test::waitForWindow("About Cantorix Pro 98"));
  QWidget* about = test::window("About Cantorix Pro 98");
  QStringList texts;
  for (QLabel* l : about->findChildren<QLabel*>())
    texts << l->text();
  EXPECT_TRUE(texts.contains("Version 1.8i"));
  test::click(test::button(about, "OK"));
  EXPECT_FALSE(test::window("About Cantorix Pro 98"));
}

TEST_F(ProgramTest, TheLookUpTablesOpenFromTheMenuToBeMaintained) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitForSplashToClose());
  for (auto [item, title] :
       {std::pair{"&Categories", "Categories"}, std::pair{"&Media Formats", "Browse Media Formats"}}) {
    GlobalRequest = SelectRecord;  // as a selection list elsewhere leaves it
    ASSERT_TRUE(test::chooseMenu(frame(), {"&Browse", item}));
    ASSERT_TRUE(test::waitForWindow(title));
    QWidget* w = test::window(title);
    EXPECT_EQ(test::button(w, "&Select"), nullptr) << "no visible \"&Select\" in " << title;
    test::click(test::button(w, title == QString("Categories") ? "Cl&ose" : "E&xit"));
    ASSERT_TRUE(test::runUntil([title] { return !test::window(title); }));
  }
  EXPECT_TRUE(exit());
}

}  // namespace
