// The events a window's procedure receives from Window::accept().
#pragma once

#include <QString>

namespace rt {

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
};

struct Event {
  EventKind kind = EventKind::None;
  int control = 0;  // the control or menu command the event is about; 0 for the window
  int key = 0;      // Qt key combination, for AlertKey
  QString data;     // dropped text, for Drop
};

}  // namespace rt
