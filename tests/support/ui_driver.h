// Drives the program's real windows from a test the way a user does: it runs the event loop until
// something appears or the program is idle, finds windows, buttons, menu items and message boxes by
// their texts, clicks, types and answers. Tests never reach into a window's internals.
//
// Everything here runs outside the program's threads (on the test's own stack), like the event loop.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "tests/support/qt_printers.h"

class QAbstractButton;
class QMessageBox;
class QWidget;
class QMainWindow;

namespace test {

inline constexpr int kDeadlineMs = 5000;

// Runs the event loop until `condition` holds; false when the deadline passed first.
bool runUntil(const std::function<bool()>& condition, int deadlineMs = kDeadlineMs);
// Runs the event loop until no program thread is waiting for its turn and no event is pending.
void settle();
// Runs `body` on a new program thread, as a window's procedure would run; `*done` is false until the
// body has ended. Returns once it has ended or shows a message box; false when neither happened in time.
bool runOnThread(std::function<void()> body, bool* done);

// The visible message box whose text contains `text` (any box when empty), or null.
QMessageBox* messageBox(const QString& text = QString());
// Waits for such a box and presses its button whose text (without "&") is `button`; false if either
// never shows up.
bool answer(const QString& button, const QString& text = QString());
// Texts of the boxes on screen.
QStringList messageTexts();

// A visible window (top-level, or a document inside the frame) with exactly this title, or null.
QWidget* window(const QString& title);
// Every such window.
std::vector<QWidget*> windows(const QString& title);
bool waitForWindow(const QString& title);
// Titles of the visible document windows inside the frame and of top-level windows.
QStringList windowTitles();

// The visible button of `window` whose text, without "&", is `text`.
QAbstractButton* button(QWidget* window, const QString& text);
void click(QAbstractButton* b);
// Chooses the frame's menu item at `path` (texts with their "&"), as a user would.
bool chooseMenu(QMainWindow* frame, const QStringList& path);

// The texts of the rows a window's list shows (the first list of the window), one row per entry.
std::vector<QStringList> listRows(QWidget* window);
// The row the window's list highlights, or -1.
int listSelection(QWidget* window);
// Clicks a row of the window's list, right-clicks it (the popup menu), drags its thumb to `step`.
void clickRow(QWidget* window, int row);
void rightClickRow(QWidget* window, int row);
void dragThumb(QWidget* window, int step);
// The key (or typed text) to the window's list.
void typeInList(QWidget* window, const QString& text);
void keyInList(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The items of the popup menu on screen: texts, greyed ones with a leading "~"; empty when none.
QStringList popupItems();
// Chooses the popup item with this text; false when there is no such enabled item.
bool choosePopupItem(const QString& text);

// The field a prompt labels: the control right of the label whose text is `prompt` (with its "&"),
// on the same line. Null when there is none.
QWidget* fieldByPrompt(QWidget* window, const QString& prompt);
// Replaces an entry's text as a user does: selects it, types, and leaves the field with Tab.
void enter(QWidget* field, const QString& text);
// Shows the tab with this caption (with its "&") of the window's sheet.
bool chooseTab(QWidget* window, const QString& caption);

// Keys to the widget that has the focus in `window`.
void type(QWidget* target, const QString& text);
void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace test
