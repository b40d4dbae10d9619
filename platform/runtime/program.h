// Program-wide services of the runtime: ending the program, the system's shut-down, the Edit menu's
// clipboard actions and the printer set-up dialog.
#pragma once

#include <QString>
#include <functional>

class QPrinter;

namespace rt {

// Ends the program at once with the closing text `text` (written to the standard error stream; the
// user has seen the message that led here). Never returns. Tests replace the stop with setHaltHandler(); the
// calling thread then waits forever (until rt::abandonAll()).
[[noreturn]] void halt(const QString& text = QString(), int exitCode = 1);
void setHaltHandler(std::function<void(const QString& text, int exitCode)> handler);

// Calls `onShutdown` (from the event loop) when the system asks the program to end: SIGTERM,
// SIGINT, or the session manager ending the session. The session manager's question whether the
// program may end is always answered yes. Replaces any earlier handler; removeShutdownHandler()
// restores the default behaviour (the process ends).
void setShutdownHandler(std::function<void()> onShutdown);
void removeShutdownHandler();

// Cut, copy and paste on the control that has the keyboard focus (entries, text boxes, combos).
void editCut();
void editCopy();
void editPaste();

// The program's printer, and the printer set-up dialog on it; true when the user confirmed.
QPrinter& printer();
bool printerSetup();

}  // namespace rt
