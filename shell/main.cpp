// kvx98: the program's executable. Everything it does lives in the shell library; this file only
// starts Qt, runs the program on a thread of its own and ends when the program has ended.
#include <QApplication>

#include "platform/runtime/threads.h"
#include "shell/artwork.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  SetUpApplication();
  RegisterArtwork();
  rt::start([] {
    ProgramMain();
    QCoreApplication::quit();
  });
  const int code = app.exec();
  rt::abandonAll();
  return code;
}
