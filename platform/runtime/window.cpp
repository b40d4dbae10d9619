#include "platform/runtime/window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "platform/files/field.h"
#include "platform/runtime/control_widgets.h"
#include "platform/runtime/frame.h"
#include "platform/runtime/list_box.h"
#include "platform/runtime/threads.h"
#include "platform/runtime/window_stack.h"

namespace rt {

// Turns Qt's events on a window's widgets into the window's events.
class WindowWatcher : public QObject {
 public:
  explicit WindowWatcher(Window& w) : w_(w) {}

  bool eventFilter(QObject* obj, QEvent* e) override {
    switch (e->type()) {
      case QEvent::Close:
        if (obj == w_.outer_ && !w_.closing_) {
          e->ignore();
          w_.post(EventKind::CloseWindow);
          return true;
        }
        break;
      case QEvent::Resize:
        if (obj == w_.client_) w_.applyStrategy();
        break;
      case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Shift || k->key() == Qt::Key_Control || k->key() == Qt::Key_Alt ||
            k->key() == Qt::Key_Meta)
          break;
        const int combination = k->keyCombination().toCombined();
        const int control = controlOf(obj);
        const bool typed = w_.alertTyping_ != 0 && control == w_.alertTyping_ && !k->text().isEmpty() &&
                           k->text()[0].isPrint() &&
                           !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        bool alerted = w_.alertAll_ || typed;
        for (const auto& [key, on] : w_.alertKeys_)
          alerted = alerted || (key == combination && (on == 0 || on == control));
        if (alerted) {
          w_.post(Event{EventKind::AlertKey, control, combination, k->text()});
          return true;
        }
        break;
      }
      case QEvent::DragEnter:
      case QEvent::DragMove:
        if (const Control* c = w_.control(controlOf(obj)); c && !c->dropKind().isEmpty()) {
          auto* d = static_cast<QDropEvent*>(e);
          if (d->mimeData()->hasFormat(dragMimeType(c->dropKind()))) {
            d->acceptProposedAction();
            return true;
          }
        }
        break;
      case QEvent::Drop:
        if (const Control* c = w_.control(controlOf(obj)); c && !c->dropKind().isEmpty()) {
          auto* d = static_cast<QDropEvent*>(e);
          const QString type = dragMimeType(c->dropKind());
          if (d->mimeData()->hasFormat(type)) {
            d->acceptProposedAction();
            w_.post(Event{EventKind::Drop, c->number(), 0, QString::fromUtf8(d->mimeData()->data(type))});
            return true;
          }
        }
        break;
      case QEvent::MouseButtonPress:
        if (const int n = controlOf(obj); n != 0) {
          const Control* c = w_.control(n);
          if (c && (c->kind() == ControlKind::Region || c->kind() == ControlKind::Image))
            w_.post(EventKind::Accepted, n);
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  int controlOf(QObject* obj) const {
    for (const auto& c : w_.controls_)
      for (QObject* target : detail::keyTargets(*c))
        if (target == obj) return c->number();
    return 0;
  }
  Window& w_;
};

Window::Window(WindowDecl decl) : decl_(std::move(decl)), watcher_(std::make_unique<WindowWatcher>(*this)) {}

Window::~Window() {
  close();
  delete outer_.data();
}

void Window::setWidgets(QWidget* outer, QWidget* client) {
  outer_ = outer;
  client_ = client;
  outer_->installEventFilter(watcher_.get());
  client_->installEventFilter(watcher_.get());
}

void Window::build() {
  auto* client = new QWidget;
  client->resize(decl_.size);
  if (decl_.resizable)
    client->setMinimumSize(decl_.size);
  else
    client->setFixedSize(decl_.size);
  Frame* frame = Frame::instance();
  if (decl_.kind == WindowKind::Document && frame && frame->area()) {
    auto* sub = new QMdiSubWindow;
    sub->setWidget(client);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    if (!decl_.resizable)
      sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    frame->area()->addSubWindow(sub);
    sub->adjustSize();
    setWidgets(sub, client);
  } else {
    QWidget* parent = frame ? frame->widget() : nullptr;
    Qt::WindowFlags flags = Qt::Dialog;
    if (decl_.frameless) flags = Qt::Dialog | Qt::FramelessWindowHint;
    client->setParent(parent, flags);
    setWidgets(client, client);
  }
  outer_->setWindowTitle(decl_.title);
  if (decl_.position.x() >= 0 && decl_.position.y() >= 0) outer_->move(decl_.position);
}

Control& Window::add(const ControlDecl& d) {
  if (!outer_) build();
  std::unique_ptr<ListBox> list;
  QWidget* w = detail::makeWidget(*this, d, client_, &list);
  // A prompt's letter ("&Artist:") takes the cursor to the control declared after it.
  if (!controls_.empty() && controls_.back()->kind() == ControlKind::Prompt && d.kind != ControlKind::Prompt)
    if (auto* prompt = qobject_cast<QLabel*>(controls_.back()->widget())) prompt->setBuddy(w);
  auto* c = new Control(*this, d, w);
  controls_.emplace_back(c);
  c->list_ = std::move(list);
  for (QObject* target : detail::keyTargets(*c))
    target->installEventFilter(watcher_.get());
  if (d.kind != ControlKind::Tab) w->setGeometry(d.rect);
  if (!d.tip.isEmpty()) c->setTip(d.tip);
  if (d.kind == ControlKind::Image) c->setImage(d.text);
  if (d.flags & kDisabled) c->setEnabled(false);
  if (d.flags & kHidden) c->hidden_ = true;
  detail::connectWidget(*this, *c);
  if (open_) {
    recordedRects_.push_back(d.rect);
    updateVisibility();
  }
  return *c;
}

Control* Window::control(int number) const {
  for (const auto& c : controls_)
    if (c->number() == number) return c.get();
  return nullptr;
}

bool Window::isShownByParents(const Control& c) const {
  int parent = c.decl().parent;
  for (int depth = 0; parent != 0 && depth < 16; ++depth) {
    const Control* p = control(parent);
    if (!p) break;
    if (p->isHidden()) return false;
    if (p->kind() == ControlKind::Tab) {
      const Control* sheet = control(p->decl().parent);
      auto* tabs = sheet ? qobject_cast<QTabWidget*>(sheet->widget()) : nullptr;
      if (tabs && tabs->currentWidget() != p->widget()) return false;
    }
    parent = p->decl().parent;
  }
  return true;
}

void Window::updateVisibility() {
  for (const auto& c : controls_) {
    if (c->kind() == ControlKind::Tab) continue;
    c->widget()->setVisible(!c->isHidden() && isShownByParents(*c));
  }
}

void Window::open() {
  if (open_) return;
  if (!outer_) build();
  thread_ = rt::thread();
  open_ = true;
  ended_ = false;
  recordedSize_ = client_->size();
  recordedRects_.clear();
  for (const auto& c : controls_)
    recordedRects_.push_back(c->decl().rect);
  lastSize_ = recordedSize_;
  detail::pushWindow(thread_, this, this, [this](bool blocked) { setBlocked(blocked); });
  updateVisibility();
  display();
  outer_->show();
  outer_->raise();
  outer_->activateWindow();
  events_.push_front(Event{EventKind::OpenWindow});
  wake(thread_);
}

void Window::close() {
  if (!open_) return;
  open_ = false;
  closing_ = true;
  if (timer_) timer_->stop();
  detail::removeWindow(thread_, this);
  if (outer_) {
    outer_->hide();
    // The frame's client area owns document windows; deleting the outer widget removes them.
    delete outer_.data();
  }
  outer_ = client_ = nullptr;
  controls_.clear();
  closing_ = false;
  // Threads waiting for windows to close (the frame closing down) look again.
  wakeAll();
}

bool Window::accept() {
  if (!open_ || ended_) return false;
  if (event_.kind == EventKind::CloseDown || (event_.kind == EventKind::CloseWindow && !closeCancelled_)) {
    ended_ = true;
    return false;
  }
  closeCancelled_ = false;
  event_ = Event{};
  waitUntil([this] { return !events_.empty() || !open_; });
  if (!open_) return false;
  event_ = events_.front();
  events_.pop_front();
  if (event_.takesValueOf) takeValue(event_);
  if (event_.kind == EventKind::CloseWindow || event_.kind == EventKind::CloseDown) beforeClose();
  return true;
}

void Window::queue(const Event& e) {
  if (e.kind == EventKind::Timer || e.kind == EventKind::Sized) {
    for (const Event& q : events_)
      if (q.kind == e.kind) return;
  }
  events_.push_back(e);
  wake(thread_);
}

void Window::post(const Event& e) {
  if (!open_) return;
  queue(e);
}

void Window::postChange(Control& changed, EventKind kind, int control) {
  Event e{kind, control, 0, QString()};
  e.takesValueOf = &changed;
  post(e);
}

void Window::takeValue(Event& e) {
  Control* c = e.takesValueOf;
  e.takesValueOf = nullptr;
  if (c->kind() == ControlKind::Radio) {
    choose(*c);
    return;
  }
  if (c->update()) return;
  // Refused input: a beep, and the cursor stays where the mistake is.
  QApplication::beep();
  c->setFocus();
  e = Event{EventKind::Rejected, c->number(), 0, QString()};
}

void Window::setTimer(int hundredths) {
  if (!outer_) build();
  if (!timer_) {
    timer_ = new QTimer(client_);
    QObject::connect(timer_, &QTimer::timeout, [this] { post(EventKind::Timer); });
  }
  if (hundredths <= 0)
    timer_->stop();
  else
    timer_->start(hundredths * 10);
}

void Window::alert(int keyCombination, int control) {
  alertKeys_.emplace_back(keyCombination, control);
}
void Window::alertAllKeys() {
  alertAll_ = true;
}
void Window::alertTyping(int control) {
  alertTyping_ = control;
}

bool Window::update() {
  for (const auto& c : controls_) {
    if (!c->variable() || c->kind() == ControlKind::Radio) continue;
    if (!c->update()) {
      c->setFocus();
      return false;
    }
  }
  return true;
}

void Window::choose(Control& radio) {
  Control* option = control(radio.decl().parent);
  for (const auto& c : controls_)
    if (c->kind() == ControlKind::Radio && c->decl().parent == radio.decl().parent)
      static_cast<QAbstractButton*>(c->widget())->setChecked(c.get() == &radio);
  if (option && option->variable()) option->variable()->setValue(radio.text().remove('&'));
}

void Window::display() {
  for (const auto& c : controls_)
    if (c->variable()) c->display();
}

QString Window::title() const {
  return outer_ ? outer_->windowTitle() : decl_.title;
}

void Window::setTitle(const QString& title) {
  decl_.title = title;
  if (outer_) outer_->setWindowTitle(title);
}

void Window::setMinimumSize(const QSize& size) {
  if (!outer_) build();
  client_->setMinimumSize(size.expandedTo(decl_.resizable ? decl_.size : size));
}

QRect Window::normalGeometry() const {
  if (!outer_) return QRect();
  // A top-level window knows its normal geometry even while maximised; a document must be made
  // normal first (the caller does).
  return outer_->isWindow() ? outer_->normalGeometry() : outer_->geometry();
}
void Window::moveTo(const QPoint& p) {
  if (outer_) outer_->setGeometry(QRect(p, outer_->geometry().size()));
}
void Window::resizeTo(const QSize& s) {
  if (outer_) outer_->setGeometry(QRect(outer_->geometry().topLeft(), s));
}
bool Window::isMaximized() const {
  return outer_ && outer_->isMaximized();
}
bool Window::isMinimized() const {
  return outer_ && outer_->isMinimized();
}
void Window::maximize() {
  if (outer_) outer_->showMaximized();
}
void Window::showNormal() {
  if (outer_) outer_->showNormal();
}

void Window::setBlocked(bool blocked) {
  if (client_) client_->setEnabled(!blocked);
}

void Window::applyStrategy() {
  if (!open_ || decl_.strategy == ResizeStrategy::None) return;
  const QSize now = client_->size();
  if (now == lastSize_) return;
  lastSize_ = now;
  client_->setUpdatesEnabled(false);
  for (size_t i = 0; i < controls_.size() && i < recordedRects_.size(); ++i) {
    Control& c = *controls_[i];
    if (c.kind() == ControlKind::Tab) continue;
    ResizeClass cls = ResizeClass::Proportional;
    switch (c.kind()) {
      case ControlKind::Entry:
        cls = ResizeClass::Entry;
        break;
      case ControlKind::Button:
        cls = ResizeClass::Button;
        break;
      case ControlKind::Check:
        cls = ResizeClass::CheckOrRadio;
        break;
      default:
        break;
    }
    c.widget()->setGeometry(resizedGeometry(decl_.strategy, cls, recordedRects_[i], recordedSize_, now));
  }
  client_->setUpdatesEnabled(true);
  post(EventKind::Sized);
}

bool post(int thread, const Event& e) {
  Window* w = detail::topWindow(thread);
  if (!w) return false;
  w->post(e);
  return true;
}

Window* Window::topOf(int thread) {
  return detail::topWindow(thread);
}
bool Window::hasWindows(int thread) {
  return detail::hasWindows(thread);
}

}  // namespace rt
