// The start-up splash window: the program's picture and version for a moment, then the windows the
// user chose to open at start-up.
#include <QWidget>

#include "platform/runtime/frame.h"
#include "platform/runtime/pictures.h"
#include "platform/runtime/window.h"
#include "shell/shell.h"
#include "storage/settings.h"

namespace {

enum Control { kPicture = 1, kVersion = 2, kClickArea = 3 };

void postStartUpWindows() {
  if (FrameThread == 0) return;
  const std::pair<bool, int> chosen[] = {{Pref::SU_Songs != 0, FrameCommands.songs},
                                         {Pref::SU_Albums != 0, FrameCommands.albums},
                                         {Pref::SU_Playlists != 0, FrameCommands.playlists},
                                         {Pref::SU_Labels != 0, FrameCommands.labels}};
  for (const auto& [wanted, command] : chosen)
    if (wanted) rt::post(FrameThread, {rt::EventKind::Accepted, command});
}

}  // namespace

void SplashWindow() {
  const QSize picture = rt::picture("kvx98-3.gif").size();
  const QSize size(picture.width(), picture.height() + 24);
  QPoint where(-1, -1);
  if (rt::Frame* frame = rt::Frame::instance()) {
    const QRect f = frame->widget()->geometry();
    where = f.center() - QPoint(size.width() / 2, size.height() / 2);
  }
  rt::Window w({.title = kProgramTitle,
                .size = size,
                .position = where,
                .kind = rt::WindowKind::Dialog,
                .resizable = false,
                .frameless = true,
                .strategy = rt::ResizeStrategy::None});
  w.add(
      {.kind = rt::ControlKind::Image, .number = kPicture, .text = "kvx98-3.gif", .rect = {{0, 0}, picture}});
  w.add({.kind = rt::ControlKind::String,
         .number = kVersion,
         .text = "Version " + VersionText,
         .rect = {0, picture.height(), size.width(), 24},
         .flags = rt::kCentered});
  w.add({.kind = rt::ControlKind::Region, .number = kClickArea, .rect = {{0, 0}, size}});
  w.alertAllKeys();
  w.open();
  w.setTimer(100);
  while (w.accept()) {
    const rt::EventKind k = w.event().kind;
    if (k == rt::EventKind::Timer || k == rt::EventKind::AlertKey || k == rt::EventKind::Accepted) break;
  }
  w.close();
  postStartUpWindows();
}
