// The events a window's procedure receives from Window::accept().
#pragma once

#include <QString>

namespace rt {

class Control;

enum class EventKind {
  None,
  OpenWindow,    // first event of every window
  Accepted,      // a control was accepted (button pressed, entry completed, menu command chosen)
  NewSelection,  // a list, sheet or drop list changed its selection
  Rejected,      // an entry refused what the user typed (see Control::use)
  AlertKey,      // an alerted key was pressed (key())
  Timer,         // the window's timer ticked
  Sized,         // the window changed size
  CloseWindow,   // the user or the program asked the window to close
  CloseDown,     // the program is ending: the window must close
  Drop,          // something was dropped on a control (data())
  // A list asks to move: a row up or down, a page up or down, to the top or the bottom, or to the
  // place its scroll thumb was dragged to (key: the thumb's step, 0-100).
  ScrollUp,
  ScrollDown,
  PageUp,
  PageDown,
  ScrollTop,
  ScrollBottom,
  ScrollDrag,
};

// The key of an AlertKey event for a double click with the left mouse button, and for a click with
// the right one (a list's popup menu).
inline constexpr int kMouseLeft2 = 0x7f000001;
inline constexpr int kMouseRight = 0x7f000002;

struct Event {
  EventKind kind = EventKind::None;
  int control = 0;  // the control or menu command the event is about; 0 for the window
  int key = 0;      // Qt key combination, for AlertKey
  QString data;     // dropped text, for Drop; the typed text, for AlertKey
  // Set by the runtime for a control the user changed: its shown value goes into its variable when
  // the window's thread takes the event, after the thread's records were put back (threads.h), so
  // the value lands in the thread's own record and never in one another thread left in the buffer.
  Control* takesValueOf = nullptr;
};

}  // namespace rt
