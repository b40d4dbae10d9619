#include "tests/support/ui_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
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

bool runOnThread(std::function<void()> body, bool* done) {
  *done = false;
  rt::start([body = std::move(body), done] {
    body();
    *done = true;
  });
  return runUntil([done] { return *done || messageBox(); });
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

std::vector<QWidget*> windows(const QString& title) {
  std::vector<QWidget*> out;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == title) out.push_back(w);
    for (QMdiArea* area : w->findChildren<QMdiArea*>())
      for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && sub->windowTitle() == title) out.push_back(sub);
  }
  return out;
}

QWidget* window(const QString& title) {
  const std::vector<QWidget*> all = windows(title);
  return all.empty() ? nullptr : all.front();
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

namespace {

QTableView* listOf(QWidget* window) {
  return window ? window->findChild<QTableView*>() : nullptr;
}

QPoint rowCentre(QTableView* view, int row) {
  return view->visualRect(view->model()->index(row, 0)).center();
}

}  // namespace

std::vector<QStringList> listRows(QWidget* window) {
  std::vector<QStringList> rows;
  QTableView* view = listOf(window);
  if (!view) return rows;
  QAbstractItemModel* m = view->model();
  for (int r = 0; r < m->rowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < m->columnCount(); ++c)
      row << m->index(r, c).data().toString();
    rows.push_back(row);
  }
  return rows;
}

int listSelection(QWidget* window) {
  QTableView* view = listOf(window);
  const QModelIndex i = view ? view->selectionModel()->currentIndex() : QModelIndex();
  return i.isValid() ? i.row() : -1;
}

void clickRow(QWidget* window, int row) {
  QTableView* view = listOf(window);
  if (!view) return;
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(view, row));
  settle();
}

void rightClickRow(QWidget* window, int row) {
  QTableView* view = listOf(window);
  if (!view) return;
  QTest::mousePress(view->viewport(), Qt::RightButton, Qt::NoModifier, rowCentre(view, row));
  settle();
}

void dragThumb(QWidget* window, int step) {
  QScrollBar* bar = nullptr;
  for (QScrollBar* b : window->findChildren<QScrollBar*>())
    if (b->orientation() == Qt::Vertical && b->maximum() == 100 && b->isVisible()) bar = b;
  if (!bar) return;
  bar->setSliderDown(true);
  bar->setSliderPosition(step);
  bar->setSliderDown(false);
  settle();
}

void typeInList(QWidget* window, const QString& text) {
  if (QTableView* view = listOf(window)) {
    view->setFocus();
    QTest::keyClicks(view, text);
  }
  settle();
}

void keyInList(QWidget* window, int key, Qt::KeyboardModifiers modifiers) {
  if (QTableView* view = listOf(window)) {
    view->setFocus();
    QTest::keyClick(view, Qt::Key(key), modifiers);
  }
  settle();
}

QStringList popupItems() {
  QStringList items;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* menu = qobject_cast<QMenu*>(w);
    if (!menu || !menu->isVisible()) continue;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) items << (a->isEnabled() ? QString() : QString("~")) + a->text();
  }
  return items;
}

bool choosePopupItem(const QString& text) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* menu = qobject_cast<QMenu*>(w);
    if (!menu || !menu->isVisible()) continue;
    for (QAction* a : menu->actions()) {
      if (a->text() != text || !a->isEnabled()) continue;
      a->trigger();
      menu->hide();
      settle();
      return true;
    }
  }
  return false;
}

QWidget* fieldByPrompt(QWidget* window, const QString& prompt) {
  if (!window) return nullptr;
  QLabel* label = nullptr;
  for (QLabel* l : window->findChildren<QLabel*>())
    if (l->text() == prompt && l->isVisible()) label = l;
  if (!label) return nullptr;
  const QRect at = label->geometry();
  QWidget* best = nullptr;
  for (QWidget* w : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w == label || !w->isVisible() || qobject_cast<QLabel*>(w)) continue;
    const QRect g = w->geometry();
    if (g.left() < at.right() || g.bottom() < at.top() || g.top() > at.bottom()) continue;
    if (!best || g.left() < best->geometry().left()) best = w;
  }
  return best;
}

void enter(QWidget* field, const QString& text) {
  if (!field) return;
  QWidget* target = field;
  if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) target = combo->lineEdit();
  target->setFocus();
  if (auto* line = qobject_cast<QLineEdit*>(target)) line->selectAll();
  QTest::keyClicks(target, text);
  QTest::keyClick(target, Qt::Key_Tab);
  settle();
}

bool chooseTab(QWidget* window, const QString& caption) {
  for (QTabWidget* sheet : window->findChildren<QTabWidget*>())
    for (int i = 0; i < sheet->count(); ++i)
      if (sheet->tabText(i) == caption) {
        sheet->setCurrentIndex(i);
        settle();
        return true;
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
