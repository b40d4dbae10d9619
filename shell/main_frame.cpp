// The main frame `Main`: opening (default media, settings, the album question, the logo), the menu
// and toolbar commands, the system's shut-down, and closing.
#include <QApplication>

#include "platform/runtime/frame.h"
#include "platform/runtime/message.h"
#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "platform/settings/settings_file.h"
#include "shell/frame_menu.h"
#include "shell/shell.h"
#include "songs/songs.h"
#include "storage/file_access.h"
#include "storage/messages.h"
#include "storage/records.h"
#include "storage/requests.h"
#include "storage/settings.h"
#include "storage/window_layout.h"

const char* const kDefaultMedia[12] = {"CD",
                                       "LP",
                                       "EP",
                                       "7\" Single",
                                       "CD Single",
                                       "Cassette (Dolby B)",
                                       "Cassette (Dolby C)",
                                       "Cassette (Dolby S)",
                                       "Cassette (DBX)",
                                       "Cassette (HX Pro)",
                                       "Cassette (Prerecorded)",
                                       "Other"};

void FillDefaultMedia() {
  if (Media.records() != 0) return;
  for (const char* name : kDefaultMedia) {
    MED.Media = name;
    (void)Media.add();  // a name another station added first is there already
  }
}

namespace {

// The menu item's text as a caption: "&Print Setup ..." is "Print Setup".
QString captionOf(int command) {
  for (const rt::MenuItem& item : FrameMenu())
    if (item.command == command) return QString(item.path.last()).remove(QChar('&')).remove("...").trimmed();
  return kProgramTitle;
}

// A non-empty setting replaces the frame's picture; later ones win.
void applyLogo(rt::Frame& frame, const QString& picture) {
  if (!picture.trimmed().isEmpty()) frame.setToolPicture(cmd::ToolLogo, picture.trimmed());
}

void askForAlbums(const QString& previousVersion) {
  if (Album.records() != 0 || Cantorix.records() == 0 || settings::numberOf(previousVersion) >= 5.1) return;
  const rt::Button answer = rt::message(
      "Do you want to copy your album information from the general music database into the album database? "
      "(Recommended)",
      "Album Database Empty", rt::Icon::Question, rt::kYesNo, rt::kYes);
  // The album-building process is not part of the program yet, so nothing is copied and the
  // preference it would switch on stays as it is.
  if (answer == rt::kYes) NotAvailableYet("Album Database Empty");
}

// A look-up browse opened from the menu maintains its table: a request left over from an earlier
// selection list must not make it one.
template <void (*browse)()>
void startMaintenance() {
  GlobalRequest = NoRequest;
  browse();
}

void onCommand(rt::Frame& frame, int command) {
  command = MenuCommandOf(command);
  switch (command) {
    case cmd::PrintSetup:
      rt::printerSetup();
      break;
    case cmd::Exit:
      frame.post(rt::EventKind::CloseWindow);
      break;
    case cmd::Cut:
      rt::editCut();
      break;
    case cmd::Copy:
      rt::editCopy();
      break;
    case cmd::Paste:
      rt::editPaste();
      break;
    case cmd::Tile:
      frame.tile();
      break;
    case cmd::Cascade:
      frame.cascade();
      break;
    case cmd::ArrangeIcons:
      frame.arrangeIcons();
      break;
    case cmd::About:
      rt::start(AboutBox);
      break;
    case cmd::BrowseSongs:
      // The stored text decides: only "Explorer" exactly opens the explore view.
      if (Pref::Interface.str() == "Explorer")
        NotAvailableYet("Explore Songs");
      else
        rt::start(BrowseSongs, 25000);
      break;
    case cmd::BrowseCategories:
      rt::start(startMaintenance<BrowseCategories>);
      break;
    case cmd::BrowseMedia:
      rt::start(startMaintenance<BrowseMedia>);
      break;
    default:
      NotAvailableYet(captionOf(command));
      break;
  }
}

}  // namespace

void Main() {
  SettingsFileName = "KVXPro98.INI";
  if (!OpenFile(Album) || !OpenFile(Media) || !OpenFile(Cantorix)) return;
  FillDefaultMedia();

  rt::Frame frame({.title = kProgramTitle, .size = {900, 640}}, FrameMenu(), FrameToolbar());
  frame.open();
  RestoreWindowPosition(frame, "Main");
  VersionText = "1.8i";
  applyLogo(frame, ReadSetting("Global Settings", "FrameLogo"));
  const QString previousVersion = ReadSetting("Global Settings", "Version");
  WriteSetting("Global Settings", "Version", VersionText);
  LoadPreferences();
  askForAlbums(previousVersion);
  if (FrameThread == 0) {
    FrameThread = rt::thread();
    FrameCommands = {cmd::BrowseSongs, cmd::BrowseAlbums, cmd::BrowsePlayLists, cmd::BrowseLabels};
  }
  applyLogo(frame, Pref::Logo);
  applyLogo(frame, ReadSetting("Settings", "MainLogo"));
  // The system ending the session (or a signal) closes the frame the normal way; nobody is left to
  // answer questions by then.
  const int self = rt::thread();
  rt::setShutdownHandler([self] {
    rt::answerEveryMessage();
    rt::post(self, {rt::EventKind::CloseDown});
  });

  bool splashShown = false;
  while (frame.accept()) {
    const rt::Event& e = frame.event();
    if (e.kind == rt::EventKind::OpenWindow && !splashShown) {
      splashShown = true;
      rt::start(SplashWindow);
    } else if (e.kind == rt::EventKind::Accepted) {
      onCommand(frame, e.control);
    }
  }

  CloseFile(Album);
  CloseFile(Media);
  CloseFile(Cantorix);
  if (FrameThread == rt::thread()) {
    FrameThread = 0;
    FrameCommands = {};
  }
  rt::removeShutdownHandler();
  SaveWindowPosition(frame, "Main");
  frame.close();
}
