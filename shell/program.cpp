#include <QGuiApplication>

#include "shell/shell.h"
#include "storage/file_access.h"
#include "storage/records.h"
#include "storage/registration.h"

QString VersionText;
QString HelpFile;
int FrameThread = 0;
FrameCommandNumbers FrameCommands;

namespace {

// Opens every database file once through the standard open, so that a first start creates them
// all and a file that cannot be used is reported now rather than in the middle of the user's work.
void checkDatabaseFiles() {
  for (files::File* f : databaseFiles())
    if (OpenFile(*f)) CloseFile(*f);
}

}  // namespace

void SetUpApplication() {
  QGuiApplication::setApplicationName("kvx98");
  // No display name: the X11 and Wayland platforms append one to every window's caption ("Invalid
  // Key — Cantorix Pro 98"), and a caption is exactly the text the program gives it.
  //
  // Windows close and reopen all the time; the program ends when its frame has ended, not before.
  QGuiApplication::setQuitOnLastWindowClosed(false);
}

void ProgramMain() {
  clearRecordBuffers();
  VersionText.clear();
  HelpFile = "kvx98.HLP";
  RegisterFilesWithUpgradePack();
  checkDatabaseFiles();
  Main();
}
