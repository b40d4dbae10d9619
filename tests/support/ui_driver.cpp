#include "tests/support/ui_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include "platform/runtime/threads.h"

namespace test {
namespace {

QString plain(QString text) {
  return text.remove('&');
}

}  // namespace

bool runUntil(const std::function<bool()>& condition, int deadlineMs) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > deadlineMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
  }
  return true;
}

void settle() {
  // Two quiet rounds in a row: a round can wake a thread whose turn queues more work.
  for (int quiet = 0; quiet < 2;) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    quiet = rt::threadsReady() ? 0 : quiet + 1;
  }
}

QMessageBox* messageBox(const QString& text) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box && box->isVisible() && (text.isEmpty() || box->text().contains(text))) return box;
  }
  return nullptr;
}

QStringList messageTexts() {
  QStringList out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) out << box->text();
  return out;
}

bool answer(const QString& buttonText, const QString& text) {
  if (!runUntil([&] { return messageBox(text) != nullptr; })) return false;
  QMessageBox* box = messageBox(text);
  for (QAbstractButton* b : box->buttons()) {
    if (plain(b->text()) == plain(buttonText)) {
      click(b);
      settle();
      return true;
    }
  }
  return false;
}

QWidget* window(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == title) return w;
    for (QMdiArea* area : w->findChildren<QMdiArea*>())
      for (QMdiSubWindow* sub : area->subWindowList())
        if (sub->isVisible() && sub->windowTitle() == title) return sub;
  }
  return nullptr;
}

bool waitForWindow(const QString& title) {
  return runUntil([&] { return window(title) != nullptr; });
}

QStringList windowTitles() {
  QStringList out;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible()) continue;
    if (!qobject_cast<QMainWindow*>(w)) out << w->windowTitle();
    for (QMdiArea* area : w->findChildren<QMdiArea*>())
      for (QMdiSubWindow* sub : area->subWindowList())
        if (sub->isVisible()) out << sub->windowTitle();
  }
  return out;
}

QAbstractButton* button(QWidget* window, const QString& text) {
  if (!window) return nullptr;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
    if (b->isVisible() && plain(b->text()) == plain(text)) return b;
  return nullptr;
}

void click(QAbstractButton* b) {
  if (!b) return;
  QTest::mouseClick(b, Qt::LeftButton);
  settle();
}

bool chooseMenu(QMainWindow* frame, const QStringList& path) {
  if (!frame || path.isEmpty()) return false;
  QList<QAction*> actions = frame->menuBar()->actions();
  for (int i = 0; i < path.size(); ++i) {
    QAction* found = nullptr;
    for (QAction* a : actions)
      if (a->text() == path[i]) found = a;
    if (!found || !found->isEnabled()) return false;
    if (i + 1 == path.size()) {
      found->trigger();
      settle();
      return true;
    }
    if (!found->menu()) return false;
    actions = found->menu()->actions();
  }
  return false;
}

void type(QWidget* target, const QString& text) {
  QTest::keyClicks(target, text);
  settle();
}

void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(target, Qt::Key(key), modifiers);
  settle();
}

}  // namespace test
