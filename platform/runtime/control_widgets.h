// Making the widget of each kind of control and connecting its signals to the window's events
// (internal to the runtime; Window::add uses it).
#pragma once

#include <QObject>
#include <memory>
#include <vector>

class QWidget;

namespace rt {
class Control;
class ListBox;
class Window;
struct ControlDecl;
}  // namespace rt

namespace rt::detail {

// The widget for `decl` on `parent`; a list control's ListBox comes back in `list`.
QWidget* makeWidget(Window& window, const ControlDecl& decl, QWidget* parent, std::unique_ptr<ListBox>* list);
// Turns the widget's signals into the window's events (Accepted, NewSelection, Rejected).
void connectWidget(Window& window, Control& control);
// The widgets that receive the control's keys and clicks (an editable combo box's line, a list's
// table and its viewport besides the control's own widget).
std::vector<QObject*> keyTargets(const Control& control);

}  // namespace rt::detail
