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

void ProgramMain() {
  clearRecordBuffers();
  VersionText.clear();
  HelpFile = "kvx98.HLP";
  RegisterFilesWithUpgradePack();
  checkDatabaseFiles();
  Main();
}
