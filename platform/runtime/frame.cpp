#include "platform/runtime/frame.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "platform/runtime/pictures.h"
#include "platform/runtime/threads.h"
#include "platform/runtime/window_stack.h"

namespace rt {
namespace {

Frame* theFrame = nullptr;

QToolBar* toolBarOf(QMainWindow* w) {
  return w ? w->findChild<QToolBar*>() : nullptr;
}

}  // namespace

Frame::Frame(WindowDecl decl, std::vector<MenuItem> menu, std::vector<ToolItem> tools)
    : Window([&] {
        decl.kind = WindowKind::Frame;
        decl.strategy = ResizeStrategy::None;
        return decl;
      }()),
      menu_(std::move(menu)),
      tools_(std::move(tools)) {
  theFrame = this;
}

Frame::~Frame() {
  close();
  if (theFrame == this) theFrame = nullptr;
}

Frame* Frame::instance() {
  return theFrame;
}

QMainWindow* Frame::mainWindow() const {
  return qobject_cast<QMainWindow*>(widget());
}

void Frame::build() {
  auto* main = new QMainWindow;
  main->setWindowTitle(decl().title);
  main->resize(decl().size);
  area_ = new QMdiArea;
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Each document keeps the state its user or its saved position gave it: a form opening over a
  // maximised browse neither maximises itself nor makes the browse normal.
  area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
  main->setCentralWidget(area_);
  main->statusBar();

  // Menus: each item's path names the menus above it; menus are made on first mention, in order.
  std::vector<std::pair<QStringList, QMenu*>> menus;
  const auto menuFor = [&](const QStringList& path) {
    QMenu* parent = nullptr;
    for (int depth = 1; depth <= path.size(); ++depth) {
      const QStringList prefix = path.mid(0, depth);
      QMenu* found = nullptr;
      for (auto& [p, m] : menus)
        if (p == prefix) found = m;
      if (!found) {
        found = parent ? parent->addMenu(prefix.last()) : main->menuBar()->addMenu(prefix.last());
        menus.emplace_back(prefix, found);
      }
      parent = found;
    }
    return parent;
  };
  for (const MenuItem& item : menu_) {
    if (item.heading) {
      QMenu* m = menuFor(item.path);
      m->menuAction()->setData(item.command);
      m->menuAction()->setStatusTip(item.tip);
      continue;
    }
    QMenu* parent = menuFor(item.path.mid(0, item.path.size() - 1));
    QAction* a = parent->addAction(item.path.last());
    a->setData(item.command);
    a->setStatusTip(item.tip);
    a->setToolTip(item.tip);
    QObject::connect(a, &QAction::triggered, [this, n = item.command] { post(EventKind::Accepted, n); });
    actions_.emplace_back(item.command, a);
  }

  if (!tools_.empty()) {
    auto* bar = main->addToolBar("Toolbar");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolItem& t : tools_) {
      if (t.picture) {
        auto* spacer = new QWidget;
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        bar->addWidget(spacer);
        auto* label = new QLabel;
        label->setToolTip(t.tip);
        bar->addWidget(label);
        pictures_.emplace_back(t.command, label);
        continue;
      }
      QAction* a = bar->addAction(QIcon(rt::picture(t.icon)), t.text);
      a->setData(t.command);
      a->setStatusTip(t.tip);
      a->setToolTip(t.tip.isEmpty() ? t.text : t.tip);
      QObject::connect(a, &QAction::triggered, [this, n = t.command] { post(EventKind::Accepted, n); });
    }
    for (const ToolItem& t : tools_)
      if (t.picture) setToolPicture(t.command, t.icon);
  }
  setWidgets(main, area_);
}

QAction* Frame::action(int command) const {
  for (const auto& [n, a] : actions_)
    if (n == command) return a;
  return nullptr;
}

void Frame::setToolPicture(int command, const QString& name) {
  for (auto& [n, label] : pictures_) {
    if (n != command) continue;
    QPixmap p = rt::picture(name);
    const int height = 40;
    if (!p.isNull() && p.height() > height) p = p.scaledToHeight(height, Qt::SmoothTransformation);
    label->setPixmap(p);
  }
  for (auto& [n, stored] : pictureNames_)
    if (n == command) {
      stored = name;
      return;
    }
  pictureNames_.emplace_back(command, name);
}

QString Frame::toolPicture(int command) const {
  for (const auto& [n, name] : pictureNames_)
    if (n == command) return name;
  return QString();
}

void Frame::tile() {
  area_->tileSubWindows();
}
void Frame::cascade() {
  area_->cascadeSubWindows();
}

void Frame::arrangeIcons() {
  // Minimised windows line up along the bottom of the client area, left to right.
  int x = 0;
  for (QMdiSubWindow* sub : area_->subWindowList()) {
    if (!sub->isMinimized()) continue;
    const QSize s = sub->size();
    if (x + s.width() > area_->viewport()->width() && x > 0) x = 0;
    sub->move(x, area_->viewport()->height() - s.height());
    x += s.width();
  }
}

void Frame::setBlocked(bool blocked) {
  QMainWindow* main = mainWindow();
  if (!main) return;
  main->menuBar()->setEnabled(!blocked);
  if (QToolBar* bar = toolBarOf(main)) bar->setEnabled(!blocked);
}

void Frame::beforeClose() {
  const int self = thread();
  for (Window* w : detail::topWindows())
    if (w != this && w->thread() != self) w->post(EventKind::CloseDown);
  waitUntil([self] {
    for (Window* w : detail::topWindows())
      if (w->thread() != self) return false;
    return true;
  });
}

}  // namespace rt
