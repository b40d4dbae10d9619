// The about box: the program's name and version.
#include "platform/runtime/pictures.h"
#include "platform/runtime/window.h"
#include "shell/shell.h"

void AboutBox() {
  enum { kLogo = 1, kName, kVersion, kPurpose, kOk };
  rt::Window w({.title = QString("About ") + kProgramTitle,
                .size = {340, 200},
                .kind = rt::WindowKind::Dialog,
                .resizable = false,
                .strategy = rt::ResizeStrategy::None});
  w.add({.kind = rt::ControlKind::Image, .number = kLogo, .text = "kvx98nte.gif", .rect = {16, 16, 190, 40}});
  w.add({.kind = rt::ControlKind::String, .number = kName, .text = kProgramTitle, .rect = {16, 64, 310, 20}});
  w.add({.kind = rt::ControlKind::String,
         .number = kVersion,
         .text = "Version " + VersionText,
         .rect = {16, 84, 310, 20}});
  w.add({.kind = rt::ControlKind::String,
         .number = kPurpose,
         .text = "The catalogue of your music collection:\nsongs, albums, playlists and labels.",
         .rect = {16, 108, 310, 40}});
  w.add({.kind = rt::ControlKind::Button,
         .number = kOk,
         .text = "&OK",
         .rect = {130, 160, 80, 28},
         .flags = rt::kDefault});
  w.open();
  while (w.accept())
    if (w.event().kind == rt::EventKind::Accepted && w.event().control == kOk) break;
  w.close();
}
