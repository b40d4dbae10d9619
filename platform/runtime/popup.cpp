#include "platform/runtime/popup.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>

#include "platform/runtime/frame.h"
#include "platform/runtime/threads.h"
#include "platform/runtime/window_stack.h"

namespace rt {

int popup(const QStringList& items) {
  Frame* frame = Frame::instance();
  auto* menu = new QMenu(frame ? frame->widget() : nullptr);
  int number = 0;
  for (const QString& item : items) {
    if (item == "-") {
      menu->addSeparator();
      continue;
    }
    const bool grey = item.startsWith('~');
    QAction* a = menu->addAction(grey ? item.mid(1) : item);
    a->setData(++number);
    a->setEnabled(!grey);
  }
  const int caller = thread();
  int chosen = 0;
  bool closed = false;
  QObject::connect(menu, &QMenu::triggered, menu, [&chosen](QAction* a) { chosen = a->data().toInt(); });
  // The menu hides before it reports the chosen item, so the answer is taken a moment later.
  QObject::connect(menu, &QMenu::aboutToHide, menu, [&closed, caller] {
    QTimer::singleShot(0, [&closed, caller] {
      closed = true;
      wake(caller);
    });
  });
  detail::pushWindow(caller, menu, nullptr, [](bool) {});
  menu->popup(QCursor::pos());
  waitUntil([&closed] { return closed; });
  detail::removeWindow(caller, menu);
  delete menu;
  return chosen;
}

}  // namespace rt
