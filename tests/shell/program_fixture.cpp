#include "tests/shell/program_fixture.h"

#include <QApplication>
#include <QMainWindow>

#include "platform/runtime/message.h"
#include "platform/runtime/program.h"
#include "platform/runtime/threads.h"
#include "platform/settings/settings_file.h"
#include "shell/artwork.h"
#include "shell/shell.h"
#include "tests/support/ui_driver.h"

namespace test {

void ProgramTest::SetUp() {
  RegisterArtwork();
  rt::setHaltHandler([this](const QString& text, int) { haltText = text; });
}

void ProgramTest::TearDown() {
  if (!ended()) exit();
  rt::abandonAll();
  rt::setHaltHandler(nullptr);
  rt::answerEveryMessage(false);
}

bool ProgramTest::start() {
  programThread = rt::start(ProgramMain);
  if (runUntil([this] { return frame() != nullptr; })) return true;
  ADD_FAILURE() << "no frame; windows " << windowTitles().join(", ").toStdString() << "; messages "
                << messageTexts().join(", ").toStdString();
  return false;
}

bool ProgramTest::waitForSplashToClose() {
  // The splash is the frameless window showing the version; it closes on its first timer tick.
  const auto splashUp = [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowFlags().testFlag(Qt::FramelessWindowHint)) return true;
    return false;
  };
  return runUntil(splashUp) && runUntil([&] { return !splashUp(); });
}

bool ProgramTest::exit() {
  if (!frame() || !chooseMenu(frame(), {"&File", "E&xit"})) return false;
  return runUntil([this] { return ended(); });
}

bool ProgramTest::ended() const {
  return programThread == 0 || !rt::isAlive(programThread);
}

QMainWindow* ProgramTest::frame() const {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* main = qobject_cast<QMainWindow*>(w);
        main && main->isVisible() && main->windowTitle() == kProgramTitle)
      return main;
  return nullptr;
}

QString ProgramTest::setting(const QString& file, const QString& section, const QString& entry) const {
  return settings::read(file, section, entry, "<missing>");
}

void ProgramTest::setSetting(const QString& file, const QString& section, const QString& entry,
                             const QString& value) {
  settings::write(file, section, entry, value);
}

}  // namespace test
