// Windows and their event loops.
//
// A procedure owns its window: it declares the window and its controls, opens it, loops on accept()
// and closes it:
//
//   rt::Window w({.title = "Browse Songs", .size = {500, 300}, .strategy = rt::ResizeStrategy::List});
//   w.add({.kind = rt::ControlKind::Button, .number = 13, .text = "Cl&ose", .rect = {...}});
//   w.open();
//   while (w.accept()) {
//     if (w.event().kind == rt::EventKind::Accepted && w.event().control == 13)
//     w.post(rt::EventKind::CloseWindow);
//   }
//   ... save the position while the window still stands ...
//   w.close();
//
// accept() waits (letting other threads run) until the window has an event and returns it; after a
// CloseWindow or CloseDown event it returns false, unless the procedure called cancelClose() while
// handling a CloseWindow. The window stays on screen until close() or the destructor.
//
// A window belongs to the thread that opened it. While a later window of the same thread is open,
// the earlier ones are disabled (for the frame: its menu and toolbar, not the windows inside it).
// Document windows live inside the frame; dialogs are top-level windows above it.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/runtime/control.h"
#include "platform/runtime/event.h"
#include "platform/runtime/resize.h"

namespace rt {

enum class WindowKind { Frame, Document, Dialog };

struct WindowDecl {
  QString title;
  QSize size{400, 300};     // of the client area
  QPoint position{-1, -1};  // -1: where the system puts it
  WindowKind kind = WindowKind::Document;
  bool resizable = true;
  bool frameless = false;
  ResizeStrategy strategy = ResizeStrategy::Form;
};

class Window {
 public:
  explicit Window(WindowDecl decl);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  Control& add(const ControlDecl& decl);
  Control* control(int number) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  void open();
  void close();
  bool isOpen() const { return open_; }
  int thread() const { return thread_; }

  bool accept();
  const Event& event() const { return event_; }
  // Keeps the window open after the CloseWindow event just returned.
  void cancelClose() { closeCancelled_ = true; }
  // Queues an event for this window (from any thread or the event loop).
  void post(const Event& e);
  void post(EventKind kind, int control = 0) { post(Event{kind, control, 0, QString()}); }

  // Queues an event for a control the user changed: when the window's thread takes it, the
  // control's shown value goes into its variable first (a radio becomes its option's choice); an
  // entry whose picture refuses the text gets the cursor back and the event becomes Rejected.
  void postChange(Control& changed, EventKind kind, int control);

  // A timer tick every `hundredths` of a second; 0 stops it. Ticks do not pile up.
  void setTimer(int hundredths);
  // Keys (Qt key combinations) that arrive as AlertKey events instead of reaching the control:
  // pressed anywhere in the window, or only on `control`.
  void alert(int keyCombination, int control = 0);
  // Every key press arrives as an AlertKey event.
  void alertAllKeys();
  // Every printable character typed on `control` (without Ctrl or Alt) arrives as an AlertKey event
  // carrying it.
  void alertTyping(int control);

  // Every bound control shows its variable; every bound control's shown value goes into its variable
  // (false when an entry's picture refuses its text: that entry gets the cursor).
  void display();
  bool update();

  // Shows or hides controls as their tabs come and go.
  void updateVisibility();
  // Makes `radio` the chosen one of its option (and its option's variable its text).
  void choose(Control& radio);

  QString title() const;
  void setTitle(const QString& title);
  void setMinimumSize(const QSize& size);
  bool isResizable() const { return decl_.resizable; }
  const WindowDecl& decl() const { return decl_; }

  // Position and size of the normal (neither minimised nor maximised) window, in the coordinates of
  // its parent: the screen for the frame and dialogs, the frame's client area for documents.
  QRect normalGeometry() const;
  void moveTo(const QPoint& topLeft);
  void resizeTo(const QSize& size);
  bool isMaximized() const;
  bool isMinimized() const;
  void maximize();
  void showNormal();

  // The outermost widget (for the frame: the main window) and the client area the controls live on.
  QWidget* widget() const { return outer_; }
  QWidget* client() const { return client_; }

  // The thread's window that events posted to the thread go to (its latest open window), or null.
  static Window* topOf(int thread);
  // Whether the thread has any window open (message boxes included).
  static bool hasWindows(int thread);

 protected:
  // Builds the outer widget and the client area; the frame builds its own.
  virtual void build();
  // Disables or enables the window while a later window of its thread is open.
  virtual void setBlocked(bool blocked);
  void setWidgets(QWidget* outer, QWidget* client);
  // Called before a CloseWindow event reaches the frame's procedure.
  virtual void beforeClose() {}

 private:
  friend class Control;
  friend class WindowWatcher;
  void queue(const Event& e);
  void takeValue(Event& e);
  void applyStrategy();
  bool isShownByParents(const Control& c) const;

  WindowDecl decl_;
  // Guarded: the frame's destruction takes its document windows with it, and a window whose
  // thread is abandoned afterwards must see that.
  QPointer<QWidget> outer_;
  QPointer<QWidget> client_;
  std::unique_ptr<class WindowWatcher> watcher_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::deque<Event> events_;
  Event event_;
  bool open_ = false;
  bool ended_ = false;
  bool closeCancelled_ = false;
  bool closing_ = false;
  int thread_ = 0;
  QPointer<QTimer> timer_;
  std::vector<std::pair<int, int>> alertKeys_;  // key, control (0: any)
  bool alertAll_ = false;
  int alertTyping_ = 0;
  QSize recordedSize_;
  std::vector<QRect> recordedRects_;
  QSize lastSize_;
};

// Posts an event to a thread: to its latest open window. False when the thread has no window.
bool post(int thread, const Event& e);

}  // namespace rt
